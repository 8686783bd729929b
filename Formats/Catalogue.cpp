// The check of a compiled message catalogue before gettext reads it.
#include "Formats/Catalogue.h"

#include <initializer_list>

namespace kravelon {

namespace {

std::uint32_t Word(const std::uint8_t* bytes, std::size_t at, bool swapped) {
  std::uint32_t w = 0;
  for (int i = 0; i < 4; ++i) {
    const std::uint8_t b = bytes[at + static_cast<std::size_t>(swapped ? 3 - i : i)];
    w |= static_cast<std::uint32_t>(b) << (8 * i);
  }
  return w;
}

}  // namespace

bool IsReadableCatalogue(const std::uint8_t* bytes, std::size_t byteCount) {
  // The header: magic, revision, count, the two string tables, the hash table.
  if (byteCount < 28 || byteCount > MaxCatalogueBytes) return false;
  const std::uint32_t magic = Word(bytes, 0, false);
  bool swapped;
  if (magic == 0x950412deu) {
    swapped = false;
  } else if (magic == 0xde120495u) {
    swapped = true;
  } else {
    return false;
  }
  if ((Word(bytes, 4, swapped) >> 16) != 0) return false;  // a major revision we do not know
  const std::uint64_t size = byteCount;
  const std::uint64_t count = Word(bytes, 8, swapped);
  const std::uint64_t originals = Word(bytes, 12, swapped);
  const std::uint64_t translations = Word(bytes, 16, swapped);
  const std::uint64_t hashSize = Word(bytes, 20, swapped);
  const std::uint64_t hashAt = Word(bytes, 24, swapped);
  if (count == 0 || originals + count * 8 > size || translations + count * 8 > size) return false;
  if (hashSize != 0 && hashAt + hashSize * 4 > size) return false;
  for (const std::uint64_t table : {originals, translations}) {
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::uint64_t length = Word(bytes, static_cast<std::size_t>(table + i * 8), swapped);
      const std::uint64_t at = Word(bytes, static_cast<std::size_t>(table + i * 8 + 4), swapped);
      // Each string ends in a zero byte that lies inside the file.
      if (at + length >= size || bytes[static_cast<std::size_t>(at + length)] != 0) return false;
    }
  }
  for (std::uint64_t i = 0; i < hashSize; ++i) {
    if (Word(bytes, static_cast<std::size_t>(hashAt + i * 4), swapped) > count) return false;
  }
  return true;
}

}  // namespace kravelon
