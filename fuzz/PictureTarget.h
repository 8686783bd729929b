#pragma once
// What both picture decoders promise on any bytes: they may refuse them, never crash, and what
// they accept is no larger than the game can use.
#include <cstdlib>

#include "Toolkit/Decoders.h"
#include "Toolkit/Errors.h"
#include "Toolkit/Graphics.h"

namespace kravelon {

inline int FuzzPictureDecoder(TSurfacePtr (*decode)(const std::uint8_t*, std::size_t),
                              const std::uint8_t* data, std::size_t size) {
  try {
    const TSurfacePtr picture = decode(data, size);
    if (picture->w > MaxPictureSide || picture->h > MaxPictureSide) std::abort();
  } catch (const TToolkitError&) {
  }
  return 0;
}

}  // namespace kravelon
