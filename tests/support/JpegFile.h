#pragma once
// JPEG files read with libjpeg directly, not through the game's decoder, so that the tests
// compare the game against a reading of their own.
#include <cstdint>
#include <string>
#include <vector>

namespace kravelon {

struct TRgbPicture {
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Rgb;  // three bytes a pixel, rows from the top
  const std::uint8_t* At(int x, int y) const {
    return &Rgb[(static_cast<std::size_t>(y) * Width + x) * 3];
  }
};

// False for a missing file and for one that is no clean JPEG: a warning counts as a failure too,
// as the game refuses a truncated file rather than show it half grey.
bool ReadJpegFile(const std::string& path, TRgbPicture& out);

}  // namespace kravelon
