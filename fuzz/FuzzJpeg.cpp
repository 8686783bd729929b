// The JPEG decoder on any bytes.
#include "fuzz/PictureTarget.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureDecoder(DecodeJpeg, data, size);
}
