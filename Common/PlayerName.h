#pragma once
// A network player's name, as the record keeps it and the network game will carry it: 1 to 32
// characters of UTF-8, none of them a space, a control or an invisible formatting character.
// The name comes from the other side of a connection, so it is hostile until it passes here: it
// can then stand in one field of a line, in the console and in a box without changing them.
#include <cstddef>
#include <string>
#include <string_view>

namespace kravelon {

inline constexpr std::size_t PlayerNameMaxCharacters = 32;

namespace detail {

// Spaces of every kind, controls, and the characters that change how the text around them is
// shown (direction overrides, joiners, the byte order mark) or that no text should hold.
constexpr bool NameRefuses(char32_t c) {
  if (c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD) return true;
  if (c == 0x061C || c == 0x1680 || c == 0x180E) return true;
  if ((c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F))
    return true;
  if (c == 0x3000 || c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB)) return true;
  if ((c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE) return true;  // noncharacters
  return c >= 0xE0000 && c <= 0xE007F;                                      // tag characters
}

// The character at name[i] and its length in bytes; length 0 when the bytes there are no UTF-8
// (overlong forms, UTF-16 surrogates and anything past U+10FFFF are not).
constexpr std::size_t DecodeLetter(std::string_view name, std::size_t i, char32_t& c) {
  const auto byte = static_cast<unsigned char>(name[i]);
  std::size_t length = 0;
  if (byte < 0x80) {
    length = 1, c = byte;
  } else if (byte >= 0xC2 && byte <= 0xDF) {
    length = 2, c = byte & 0x1F;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    length = 3, c = byte & 0x0F;
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    length = 4, c = byte & 0x07;
  } else {
    return 0;
  }
  if (i + length > name.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(name[i + k]);
    if ((next & 0xC0) != 0x80) return 0;
    c = (c << 6) | (next & 0x3F);
  }
  constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < least[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) return 0;
  return length;
}

}  // namespace detail

inline bool IsPlayerName(std::string_view name) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++characters) {
    if (characters == PlayerNameMaxCharacters) return false;
    char32_t c = 0;
    const std::size_t length = detail::DecodeLetter(name, i, c);
    if (length == 0 || detail::NameRefuses(c)) return false;
    i += length;
  }
  return characters >= 1;
}

// A name from elsewhere (a peer's, a game found on the network) made one the game can show and
// keep: every character a name may not hold, and every byte that is no UTF-8, becomes "_", and
// it is cut to 32 characters. "_" for empty text.
inline std::string ShownPlayerName(std::string_view text) {
  std::string name;
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size() && characters < PlayerNameMaxCharacters; ++characters) {
    char32_t c = 0;
    const std::size_t length = detail::DecodeLetter(text, i, c);
    if (length == 0 || detail::NameRefuses(c)) {
      name += '_';
      i += length == 0 ? 1 : length;
    } else {
      name += text.substr(i, length);
      i += length;
    }
  }
  return name.empty() ? "_" : name;
}

}  // namespace kravelon
