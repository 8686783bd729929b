// Windows bitmaps: the headers are checked here, the pixels are SDL's to decode; and reading a
// picture file whole before its decoder sees it.
#include "Formats/Decoders.h"

#include <SDL_error.h>
#include <SDL_rwops.h>
#include <SDL_surface.h>

#include <cstdlib>
#include <vector>

#include "Platform/Errors.h"
#include "Platform/Files.h"
#include "Formats/PictureLimits.h"

namespace kravelon {

namespace {

bool PixelDepthKnown(unsigned bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The other BITMAPINFOHEADER.biCompression values SDL reads.
constexpr std::uint32_t BiRle8 = 1, BiRle4 = 2, BiBitfields = 3;

}  // namespace

TRwPtr MemoryStream(const std::uint8_t* data, std::size_t size) {
  if (size > static_cast<std::size_t>(INT32_MAX)) return nullptr;
  return TRwPtr(SDL_RWFromConstMem(data, static_cast<int>(size)));
}

// SDL takes the size a bitmap declares on trust: a 12 KB file that claims 60000 × 60000 makes it
// allocate 14 GB before it finds the pixels missing.
TSurfacePtr DecodeBmp(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t FileHeader = 14;
  if (size < FileHeader + 12 || data[0] != 'B' || data[1] != 'M') {
    throw TToolkitError("not a Windows bitmap");
  }
  const std::uint32_t pixelOffset = Le32(data + 10);
  const std::uint32_t infoSize = Le32(data + 14);
  if (infoSize != 12 && infoSize < 40) throw TToolkitError("unknown bitmap header");
  if (FileHeader + infoSize > size) throw TToolkitError("bitmap header runs past the file");
  const std::uint8_t* info = data + FileHeader;
  std::int64_t width, height;
  unsigned bits;
  std::uint32_t compression = BiRgb;
  if (infoSize == 12) {  // the old OS/2 header: 16-bit sizes
    width = Le16(info + 4);
    height = static_cast<std::int16_t>(Le16(info + 6));
    bits = Le16(info + 10);
  } else {
    width = static_cast<std::int32_t>(Le32(info + 4));
    height = static_cast<std::int32_t>(Le32(info + 8));
    bits = Le16(info + 14);
    compression = Le32(info + 16);
  }
  height = std::llabs(height);  // negative: rows stored top-down
  if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide) {
    throw TToolkitError("bitmap of " + std::to_string(width) + " x " + std::to_string(height) +
                        " is larger than the game can use");
  }
  if (!PixelDepthKnown(bits)) throw TToolkitError("unknown bitmap pixel depth");
  if (compression == BiRgb || compression == BiBitfields) {
    if (static_cast<std::uint64_t>(pixelOffset) + RowBytes(width, bits) * height > size) {
      throw TToolkitError("bitmap pixels run past the file");
    }
  } else if (compression != BiRle8 && compression != BiRle4) {
    throw TToolkitError("unknown bitmap compression");
  }
  TRwPtr stream = MemoryStream(data, size);
  SDL_Surface* surface = stream ? SDL_LoadBMP_RW(stream.get(), 0) : nullptr;
  if (!surface) throw TToolkitError(SDL_GetError());
  return TSurfacePtr(surface);
}

TSurfacePtr LoadPictureFile(const std::string& path,
                            TSurfacePtr (*decode)(const std::uint8_t*, std::size_t)) {
  const TFileBytes file = ReadLimited(path, MaxPictureFileBytes);
  switch (file.Status) {
    case TReadStatus::Read: break;
    // A folder or a device in its place is not the picture asked for.
    case TReadStatus::Missing:
    case TReadStatus::NotAFile: throw TFileError(path, "Cannot find \"" + path + "\"");
    case TReadStatus::TooLarge: throw TFileError(path, "Too large: \"" + path + "\"");
    case TReadStatus::Failed: throw TFileError(path, "Cannot read \"" + path + "\"");
  }
  try {
    return decode(file.Data(), file.Size());
  } catch (const TToolkitError& error) {
    throw TFileError(path, "Cannot decode \"" + path + "\": " + error.what());
  }
}

}  // namespace kravelon
