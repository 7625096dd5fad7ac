// Whole-file decoding of RIFF WAVE (PCM) and Ogg Vorbis sound files into interleaved PCM.
#pragma once

#include <optional>
#include <span>

#include "host/files.h"

// Every decoder fills the same four numbers on success:
//   length          sample frames (samples per channel)
//   channels        1 mono, 2 stereo (other counts pass through; the device plays them silent)
//   bytesPerSample  1 (8-bit unsigned) or 2 (16-bit signed little-endian)
//   hertz           sample rate
// and gives nothing, printing nothing, for any file it cannot read.

// Picks the decoder by the path's extension (".wav" or ".ogg", any case).
std::optional<ByteBuffer> LoadAudioData(const String& path, int& length, int& channels,
                                        int& bytesPerSample, int& hertz);

// Uncompressed PCM only; the "fmt " chunk must come first and "data" may follow other chunks.
std::optional<ByteBuffer> LoadWAV(std::span<const unsigned char> file, int& length, int& channels,
                                  int& bytesPerSample, int& hertz);

// Always 16-bit samples.
std::optional<ByteBuffer> LoadOGG(std::span<const unsigned char> file, int& length, int& channels,
                                  int& bytesPerSample, int& hertz);
