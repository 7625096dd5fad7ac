// Sound files for the audio tests, made at run time by sox and oggenc in a private folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace soundtest {

using Bytes = std::vector<unsigned char>;

// A fresh folder of its own, removed with everything in it.
struct TempDir : ScratchFolder {
  TempDir() : ScratchFolder("audio", false) {}
  const std::filesystem::path& Path() const { return path(); }
};

// Runs a shell command quietly; the test fails when it does not succeed.
inline void Run(const std::string& command) {
  ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
}

// A 440 Hz sine tone from sox; options such as "-e unsigned-integer" go before the file.
inline std::string MakeWav(const TempDir& dir, const std::string& name, int hertz, int bits,
                           int channels, double seconds, const std::string& options = "") {
  const std::string path = dir.File(name);
  Run("sox -n -r " + std::to_string(hertz) + " -b " + std::to_string(bits) + " -c " +
      std::to_string(channels) + " " + options + " '" + path + "' synth " +
      std::to_string(seconds) + " sine 440 vol 0.5");
  return path;
}

// The same 16-bit tone, encoded by oggenc.
inline std::string MakeOgg(const TempDir& dir, const std::string& name, int hertz, int channels,
                           double seconds) {
  const std::string wav = MakeWav(dir, name + ".source.wav", hertz, 16, channels, seconds);
  const std::string ogg = dir.File(name);
  Run("oggenc -Q -o '" + ogg + "' '" + wav + "'");
  return ogg;
}

inline Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace soundtest
