// The catalogue check on any bytes: it reads every offset the file claims, so it must never read
// past what it was given, and what it accepts must hold every string it names.
#include <cstdlib>
#include <vector>

#include "Formats/Catalogue.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // An exact copy, so that the sanitizer sees a read one byte past the end.
  const std::vector<std::uint8_t> bytes(data, data + size);
  [[maybe_unused]] const bool readable = IsReadableCatalogue(bytes.data(), bytes.size());
  return 0;
}
