#pragma once
// Windows .CUR files: the decoder, with the limits it holds the file to.
#include <cstddef>
#include <cstdint>

#include "Formats/SdlPtr.h"

namespace kravelon {

// Windows cursors are at most 256 × 256; several sizes in one file stay well under a megabyte.
inline constexpr int MaxCursorSide = 256;
inline constexpr std::size_t MaxCursorFileBytes = 1u << 20;

// NotFound: no such file (or a folder of that name). Refused: its header declares a size out of
// bounds or beyond the file. Failed: no cursor file, or none can be made here.
enum class TCursorResult { Loaded, NotFound, Refused, Failed };
// The decoder, on the file's bytes; the cursor loader and the fuzz target call it.
struct TCursorImage {
  TSurfacePtr Pixels;
  int HotX = 0;
  int HotY = 0;
};
// Loaded with the image filled in; Refused when the sizes it declares are out of bounds or
// disagree; Failed when it is no cursor file or cannot be decoded.
TCursorResult DecodeCursor(const std::uint8_t* data, std::size_t size, TCursorImage& image);

}  // namespace kravelon
