#pragma once
// The player's name as the network game sends it: 1 to 32 characters of valid UTF-8, with no
// spaces and no control characters, so that it is one field of a protocol line.
#include <cstddef>
#include <string>
#include <string_view>

namespace kravelon {

inline constexpr std::size_t MaxNameLetters = 32;

// Whether `text` is valid UTF-8 (shortest forms only, no surrogates, nothing past U+10FFFF).
bool IsValidUtf8(std::string_view text);

bool IsValidName(std::string_view name);

// `text` made a valid name: invalid bytes, spaces and control characters become "_", and it is
// cut to 32 characters. Empty text gives an empty name (no name can be made of nothing).
std::string MakeValidName(std::string_view text);

// The name the game plays under: the `name` setting when it is a valid name, else the login name
// made valid, else the word for "player" in the game's language.
std::string PlayerName(std::string_view setting);

}  // namespace kravelon
