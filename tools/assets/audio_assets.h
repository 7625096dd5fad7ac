#pragma once
// Sound effects and tunes of the game, and the files they are written to.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace assets {

inline constexpr int kSampleRate = 44100;

// Every effect id the game loads, in loading order.
std::span<const int> EffectIds();
// "sfx/" + the id in three digits + ".wav".
std::string EffectFileName(int id);
// The effect as mono samples in -1..1, peak-normalised, faded in and out.
std::vector<float> SynthesizeEffect(int id);

// "Robust", "Trying", "Unknown", "Versatile", "Xeroxed": chosen by Level mod 5.
std::span<const char* const> TuneNames();
// The tune as interleaved stereo samples that loop seamlessly.
std::vector<float> ComposeTune(int index);

// 16-bit PCM WAVE writer; samples are clamped to -1..1.
bool WriteWav(const std::filesystem::path& path, std::span<const float> samples, int channels,
              int rate);
// Ogg Vorbis writer with a fixed stream serial, so the bytes are the same on every run.
bool WriteOgg(const std::filesystem::path& path, std::span<const float> interleaved, int channels,
              int rate);

}  // namespace assets
