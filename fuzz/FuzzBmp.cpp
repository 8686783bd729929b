// The Windows bitmap decoder (our header checks, then SDL's) on any bytes: it may refuse them,
// never crash, and what it accepts is no larger than the game can use.
#include <cstdlib>

#include "Toolkit/Decoders.h"
#include "Toolkit/Errors.h"
#include "Toolkit/Graphics.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const TSurfacePtr picture = DecodeBmp(data, size);
    if (picture->w > MaxPictureSide || picture->h > MaxPictureSide) std::abort();
  } catch (const TToolkitError&) {
  }
  return 0;
}
