// The audio device: 32 numbered sound channels plus a music channel, on OpenAL.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>

#include "base/string.h"

constexpr int kSoundChannels = 32;
constexpr int kMusicChannel = 32;
constexpr int kAllChannels = kSoundChannels + 1;

constexpr int kChannelStopped = 0;
constexpr int kChannelPlaying = 1;
constexpr int kChannelPaused = 2;

// One sound file decoded into an OpenAL buffer.
class gxtkSample {
 public:
  gxtkSample() = default;
  gxtkSample(const gxtkSample&) = delete;
  gxtkSample& operator=(const gxtkSample&) = delete;
  virtual ~gxtkSample();

  // Hands the buffer to the deferred deletion list; the sample is empty afterwards.
  virtual void Discard();
  void SetBuffer(ALuint buffer) { this->buffer = buffer; }

  ALuint buffer = 0;
};

// Buffers are deleted here once no source is attached to them any more; ones still
// attached stay listed for the next flush. Runs at the start of every load and play.
void FlushDiscarded();

struct gxtkChannel {
  // The channel's source, made on demand. When OpenAL has no more sources, the source of
  // the first sound channel whose sound has ended is taken over; 0 when there is none.
  ALuint AL_Source();

  ALuint source = 0;
  std::shared_ptr<gxtkSample> sample;  // kept alive while it plays
  int flags = 0;
  int state = kChannelStopped;
};

class gxtkAudio {
 public:
  // Opens the default OpenAL device. Failure prints one "OpenAl error: ..." line and
  // leaves a device on which every call quietly does nothing audible.
  gxtkAudio();
  gxtkAudio(const gxtkAudio&) = delete;
  gxtkAudio& operator=(const gxtkAudio&) = delete;
  virtual ~gxtkAudio();

  // Pause and resume what is playing while the window is out of focus; channels the
  // game paused itself stay paused.
  virtual int Suspend();
  virtual int Resume();

  // Null when the file cannot be loaded.
  virtual std::shared_ptr<gxtkSample> LoadSample(const String& path);
  virtual bool LoadSample__UNSAFE__(gxtkSample& sample, const String& path);

  // 0, or -1 when no source could be had. Gain, pitch and position stay as last set.
  virtual int PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags);
  virtual int StopChannel(int channel);
  virtual int PauseChannel(int channel);
  virtual int ResumeChannel(int channel);
  // kChannelStopped once a one-shot sound has run out.
  virtual int ChannelState(int channel);
  virtual int SetVolume(int channel, float volume);
  // Pan is an angle in radians: 0 ahead, positive to the right.
  virtual int SetPan(int channel, float pan);
  virtual int SetRate(int channel, float rate);

  // Music is decoded whole and played on the music channel; -1 when it cannot be loaded.
  virtual int PlayMusic(const String& path, int flags);
  virtual int StopMusic();
  virtual int PauseMusic();
  virtual int ResumeMusic();
  virtual int MusicState();
  virtual int SetMusicVolume(float volume);

  // The one instance, through which channels find each other when a source is taken.
  static gxtkAudio* audio;

  ALCdevice* alcDevice = nullptr;
  ALCcontext* alcContext = nullptr;
  gxtkChannel channels[kAllChannels];

 private:
  bool Open();
  // Null for a channel number outside 0 .. 32.
  gxtkChannel* Channel(int channel);
  bool SourceIs(const gxtkChannel& channel, ALint state) const;
};

// The audio module's device, set once at start-up.
void SetAudioDevice(gxtkAudio* device);
gxtkAudio* AudioDevice();
