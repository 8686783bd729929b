#pragma once
// How large a picture the loaders take: below both the decoders that check it and the pictures
// that hold what they decode.
#include <cstddef>

namespace kravelon {

// The largest picture the game uses fills its 696 × 488 window. A side of 2048 leaves room for
// three times that width and four times that height, and keeps a picture within 16 MB; no file
// of a picture that size comes near 32 MB.
inline constexpr int MaxPictureSide = 2048;
inline constexpr std::size_t MaxPictureFileBytes = 32u << 20;

}  // namespace kravelon
