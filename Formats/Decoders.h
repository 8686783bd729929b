#pragma once
// The decoders behind the file loaders, on a file's bytes in memory. Each reads the size the file
// declares and refuses it before allocating anything when it is more than the game can use or
// more than the file holds. The fuzz targets call them directly.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Formats/SdlPtr.h"

namespace kravelon {

// Little-endian header fields.
inline std::uint16_t Le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Bytes in one row of packed pixels, padded to whole 32-bit words (bitmaps and cursors alike).
inline std::uint64_t RowBytes(std::uint64_t width, unsigned bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}
// BITMAPINFOHEADER.biCompression of plain pixels, the one a cursor may have.
inline constexpr std::uint32_t BiRgb = 0;

// SDL's stream over bytes in memory; null when they are more than SDL can address.
TRwPtr MemoryStream(const std::uint8_t* data, std::size_t size);

// Both raise TToolkitError saying what is wrong (the caller adds the file's path).
TSurfacePtr DecodeJpeg(const std::uint8_t* data, std::size_t size);
TSurfacePtr DecodeBmp(const std::uint8_t* data, std::size_t size);

// Reads a picture file (a folder in its place counts as missing) and decodes it; any failure
// raises TFileError naming the path.
TSurfacePtr LoadPictureFile(const std::string& path,
                            TSurfacePtr (*decode)(const std::uint8_t*, std::size_t));

}  // namespace kravelon
