#pragma once
// The decoders behind the file loaders, on a file's bytes in memory. Each reads the size the file
// declares and refuses it before allocating anything when it is more than the game can use or
// more than the file holds. Toolkit-internal (SDL types); the fuzz targets call them directly.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Toolkit/SdlPtr.h"
#include "Toolkit/System.h"

namespace kravelon {

// Little-endian header fields.
inline std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Both raise TToolkitError saying what is wrong (the caller adds the file's path).
TSurfacePtr DecodeJpeg(const std::uint8_t* data, std::size_t size);
TSurfacePtr DecodeBmp(const std::uint8_t* data, std::size_t size);

// Reads a picture file (a folder in its place counts as missing) and decodes it; any failure
// raises TFileError naming the path.
TSurfacePtr LoadPictureFile(const std::string& path,
                            TSurfacePtr (*decode)(const std::uint8_t*, std::size_t));

struct TCursorImage {
  TSurfacePtr Pixels;
  int HotX = 0;
  int HotY = 0;
};
// Loaded with the image filled in; Refused when the sizes it declares are out of bounds or
// disagree; Failed when it is no cursor file or cannot be decoded.
TCursorResult DecodeCursor(const std::uint8_t* data, std::size_t size, TCursorImage& image);

// A wave-file image as 16-bit stereo samples at the device's rate; empty when it cannot be played
// (no wave, a chunk running past the end of the file, or longer than the device will hold).
std::vector<std::int16_t> DecodeWave(const std::uint8_t* data, std::size_t size);

}  // namespace kravelon
