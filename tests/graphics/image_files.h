// Image files written for the tests into a temporary folder.
#pragma once

#include <string>
#include <vector>

class TempImageDir {
 public:
  TempImageDir();
  ~TempImageDir();
  TempImageDir(const TempImageDir&) = delete;
  TempImageDir& operator=(const TempImageDir&) = delete;

  // Writes a PNG of width x height pixels with channels bytes each; returns its full path.
  std::string WritePng(const std::string& name, int width, int height, int channels,
                       const std::vector<unsigned char>& pixels) const;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// RGBA bytes of a width x height picture filled with one colour.
std::vector<unsigned char> SolidRgba(int width, int height, unsigned char r, unsigned char g,
                                     unsigned char b, unsigned char a);
