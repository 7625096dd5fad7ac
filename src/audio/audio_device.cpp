#include "audio/audio_device.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "audio/audio_decode.h"
#include "base/runtime.h"

namespace {

gxtkAudio* device = nullptr;

// Buffers of discarded samples waiting for their sources to let go of them.
std::vector<ALuint> discarded;

ALenum FormatFor(int channels, int bytesPerSample) {
  if (bytesPerSample == 1 && channels == 1) return AL_FORMAT_MONO8;
  if (bytesPerSample == 1 && channels == 2) return AL_FORMAT_STEREO8;
  if (bytesPerSample == 2 && channels == 1) return AL_FORMAT_MONO16;
  if (bytesPerSample == 2 && channels == 2) return AL_FORMAT_STEREO16;
  return AL_NONE;
}

ALint SourceState(ALuint source) {
  ALint state = AL_STOPPED;
  alGetSourcei(source, AL_SOURCE_STATE, &state);
  return state;
}

}  // namespace

gxtkAudio* gxtkAudio::audio = nullptr;

gxtkSample::~gxtkSample() {
  if (buffer != 0) std::puts("Discarding sample");
  Discard();
}

void gxtkSample::Discard() {
  if (buffer == 0) return;
  // Once the device is gone its buffers went with it; the name could now be another's.
  if (gxtkAudio::audio != nullptr) discarded.push_back(buffer);
  buffer = 0;
}

void FlushDiscarded() {
  if (discarded.empty()) return;
  if (gxtkAudio* audio = gxtkAudio::audio) {
    for (auto& channel : audio->channels) {
      if (channel.state != kChannelStopped && SourceState(channel.source) == AL_STOPPED) {
        alSourcei(channel.source, AL_BUFFER, 0);
      }
    }
  }
  std::erase_if(discarded, [](ALuint buffer) {
    alGetError();
    alDeleteBuffers(1, &buffer);
    return alGetError() == AL_NO_ERROR;
  });
}

ALuint gxtkChannel::AL_Source() {
  if (source != 0) return source;
  alGetError();
  ALuint made = 0;
  alGenSources(1, &made);
  if (alGetError() == AL_NO_ERROR) {
    source = made;
    return source;
  }
  gxtkAudio* audio = gxtkAudio::audio;
  if (audio == nullptr) return 0;
  for (int i = 0; i < kSoundChannels; ++i) {
    gxtkChannel& other = audio->channels[i];
    if (other.source != 0 && audio->ChannelState(i) == kChannelStopped) {
      source = other.source;
      other.source = 0;
      return source;
    }
  }
  return 0;
}

gxtkAudio::gxtkAudio() {
  audio = this;
  if (Open()) alDistanceModel(AL_NONE);  // positions give direction only
  channels[kMusicChannel].AL_Source();
}

gxtkAudio::~gxtkAudio() {
  for (auto& channel : channels) {
    if (channel.source != 0) alDeleteSources(1, &channel.source);
    channel = gxtkChannel();
  }
  FlushDiscarded();
  // Whatever is left belonged to this device and goes with it.
  discarded.clear();
  audio = nullptr;
  if (alcContext != nullptr) {
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(alcContext);
  }
  if (alcDevice != nullptr) alcCloseDevice(alcDevice);
}

bool gxtkAudio::Open() {
  alcDevice = alcOpenDevice(nullptr);
  if (alcDevice == nullptr) {
    kvPrint("OpenAl error: alcOpenDevice failed");
    return false;
  }
  alcContext = alcCreateContext(alcDevice, nullptr);
  if (alcContext == nullptr) {
    kvPrint("OpenAl error: alcCreateContext failed");
    return false;
  }
  if (!alcMakeContextCurrent(alcContext)) {
    kvPrint("OpenAl error: alcMakeContextCurrent failed");
    return false;
  }
  return true;
}

gxtkChannel* gxtkAudio::Channel(int channel) {
  return channel >= 0 && channel < kAllChannels ? &channels[channel] : nullptr;
}

bool gxtkAudio::SourceIs(const gxtkChannel& channel, ALint state) const {
  return SourceState(channel.source) == state;
}

int gxtkAudio::Suspend() {
  for (auto& channel : channels) {
    if (channel.state == kChannelPlaying && SourceIs(channel, AL_PLAYING)) {
      alSourcePause(channel.source);
    }
  }
  return 0;
}

int gxtkAudio::Resume() {
  for (auto& channel : channels) {
    if (channel.state == kChannelPlaying && SourceIs(channel, AL_PAUSED)) {
      alSourcePlay(channel.source);
    }
  }
  return 0;
}

std::shared_ptr<gxtkSample> gxtkAudio::LoadSample(const String& path) {
  FlushDiscarded();
  auto sample = std::make_shared<gxtkSample>();
  if (!LoadSample__UNSAFE__(*sample, path)) return nullptr;
  return sample;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample& sample, const String& path) {
  int length = 0, channelCount = 0, bytesPerSample = 0, hertz = 0;
  const auto data = LoadAudioData(path, length, channelCount, bytesPerSample, hertz);
  if (!data) return false;
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  // A layout OpenAL has no format for leaves the buffer empty: the sample plays silence.
  const ALenum format = FormatFor(channelCount, bytesPerSample);
  if (format != AL_NONE) {
    const auto bytes = static_cast<ALsizei>(length * channelCount * bytesPerSample);
    alBufferData(buffer, format, data->data(), bytes, hertz);
  }
  sample.SetBuffer(buffer);
  return true;
}

int gxtkAudio::PlaySample(const std::shared_ptr<gxtkSample>& sample, int channel, int flags) {
  FlushDiscarded();
  gxtkChannel* chan = Channel(channel);
  if (chan == nullptr || sample == nullptr) return -1;
  const ALuint source = chan->AL_Source();
  if (source == 0) return -1;
  alSourceStop(source);
  alSourcei(source, AL_BUFFER, static_cast<ALint>(sample->buffer));
  alSourcei(source, AL_LOOPING, flags != 0 ? AL_TRUE : AL_FALSE);
  alSourcePlay(source);
  chan->sample = sample;
  chan->flags = flags;
  chan->state = kChannelPlaying;
  return 0;
}

int gxtkAudio::StopChannel(int channel) {
  gxtkChannel* chan = Channel(channel);
  if (chan != nullptr && chan->state != kChannelStopped) {
    alSourceStop(chan->source);
    chan->state = kChannelStopped;
  }
  return 0;
}

int gxtkAudio::PauseChannel(int channel) {
  gxtkChannel* chan = Channel(channel);
  if (chan == nullptr || chan->state != kChannelPlaying) return 0;
  if (SourceIs(*chan, AL_STOPPED)) {
    chan->state = kChannelStopped;
  } else {
    alSourcePause(chan->source);
    chan->state = kChannelPaused;
  }
  return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
  gxtkChannel* chan = Channel(channel);
  if (chan != nullptr && chan->state == kChannelPaused) {
    alSourcePlay(chan->source);
    chan->state = kChannelPlaying;
  }
  return 0;
}

int gxtkAudio::ChannelState(int channel) {
  gxtkChannel* chan = Channel(channel);
  if (chan == nullptr) return kChannelStopped;
  if (chan->state == kChannelPlaying && SourceIs(*chan, AL_STOPPED)) {
    chan->state = kChannelStopped;
  }
  return chan->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
  if (gxtkChannel* chan = Channel(channel)) alSourcef(chan->AL_Source(), AL_GAIN, volume);
  return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
  if (gxtkChannel* chan = Channel(channel)) {
    alSource3f(chan->AL_Source(), AL_POSITION, std::sin(pan), 0.0f, -std::cos(pan));
  }
  return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
  if (gxtkChannel* chan = Channel(channel)) alSourcef(chan->AL_Source(), AL_PITCH, rate);
  return 0;
}

int gxtkAudio::PlayMusic(const String& path, int flags) {
  StopMusic();
  const auto sample = LoadSample(path);
  if (sample == nullptr) return -1;
  PlaySample(sample, kMusicChannel, flags);
  return 0;
}

int gxtkAudio::StopMusic() {
  return StopChannel(kMusicChannel);
}
int gxtkAudio::PauseMusic() {
  return PauseChannel(kMusicChannel);
}
int gxtkAudio::ResumeMusic() {
  return ResumeChannel(kMusicChannel);
}
int gxtkAudio::MusicState() {
  return ChannelState(kMusicChannel);
}
int gxtkAudio::SetMusicVolume(float volume) {
  return SetVolume(kMusicChannel, volume);
}

void SetAudioDevice(gxtkAudio* audio) {
  device = audio;
}

gxtkAudio* AudioDevice() {
  return device;
}
