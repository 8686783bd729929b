// The wave decoder (our chunk checks, SDL's loader and converter) on any bytes: silence or a
// sound, never a crash.
#include "Formats/Wave.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  [[maybe_unused]] const TDecodedWave wave(data, size);
  return 0;
}
