#pragma once
// Compiled message catalogues (.mo), as gettext reads them.
#include <cstddef>
#include <cstdint>

namespace kravelon {

// The largest catalogue the game reads: its own holds a few hundred texts.
inline constexpr std::size_t MaxCatalogueBytes = 4u << 20;

// Whether the bytes hold a catalogue gettext can read safely: its header, tables and every string
// inside the bytes. glibc trusts the offsets it finds there.
bool IsReadableCatalogue(const std::uint8_t* bytes, std::size_t byteCount);

}  // namespace kravelon
