#include "Formats/CursorFile.h"

#include <SDL_image.h>

#include "Formats/Decoders.h"

namespace kravelon {

// A cursor file is a directory of images, each a bitmap with its colour rows and then a one-bit
// mask, so the bitmap header gives twice the directory's height. SDL_image picks one entry and
// allocates what its bitmap header says: every entry must agree with its header and fit the file.
TCursorResult DecodeCursor(const std::uint8_t* data, std::size_t size, TCursorImage& image) {
  constexpr std::size_t DirHeader = 6, EntrySize = 16, InfoSize = 40;
  if (size < DirHeader || Le16(data) != 0 || Le16(data + 2) != 2 || Le16(data + 4) == 0) {
    return TCursorResult::Failed;
  }
  const std::size_t count = Le16(data + 4);
  const std::uint64_t directoryEnd = DirHeader + EntrySize * count;
  if (directoryEnd > size) return TCursorResult::Refused;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = data + DirHeader + EntrySize * i;
    const int width = entry[0] == 0 ? 256 : entry[0];
    const int height = entry[1] == 0 ? 256 : entry[1];
    const std::uint32_t length = Le32(entry + 8), offset = Le32(entry + 12);
    if (offset < directoryEnd || length < InfoSize ||
        static_cast<std::uint64_t>(offset) + length > size) {
      return TCursorResult::Refused;
    }
    const std::uint8_t* info = data + offset;
    const auto infoWidth = static_cast<std::int32_t>(Le32(info + 4));
    const auto infoHeight = static_cast<std::int32_t>(Le32(info + 8));
    const unsigned bits = Le16(info + 14);
    const std::uint32_t colours = Le32(info + 32);
    if (Le32(info) != InfoSize || infoWidth != width || infoHeight != 2 * height ||
        width > MaxCursorSide || height > MaxCursorSide) {
      return TCursorResult::Refused;
    }
    if ((bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) ||
        Le32(info + 16) != BiRgb) {
      return TCursorResult::Failed;
    }
    const std::uint64_t palette = bits <= 8 ? (colours != 0 ? colours : 1u << bits) : 0;
    if (bits <= 8 && palette > (1u << bits)) return TCursorResult::Refused;
    const std::uint64_t needed =
        InfoSize + palette * 4 + (RowBytes(width, bits) + RowBytes(width, 1)) * height;
    if (needed > length) return TCursorResult::Refused;
  }
  TRwPtr stream = MemoryStream(data, size);
  SDL_Surface* pixels = stream ? IMG_LoadCUR_RW(stream.get()) : nullptr;
  if (!pixels) return TCursorResult::Failed;
  image.Pixels.reset(pixels);
  // The hotspot sits in the first directory entry.
  image.HotX = Le16(data + DirHeader + 4);
  image.HotY = Le16(data + DirHeader + 6);
  return TCursorResult::Loaded;
}

}  // namespace kravelon
