// The Windows bitmap decoder (our header checks, then SDL's) on any bytes.
#include "fuzz/PictureTarget.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureDecoder(DecodeBmp, data, size);
}
