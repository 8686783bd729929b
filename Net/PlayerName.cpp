#include "Net/PlayerName.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "Common/Text.h"

namespace kravelon {

namespace {

// The code point starting at text[at] and its length in bytes; length 0 for an invalid sequence.
struct TLetter {
  char32_t Code = 0;
  std::size_t Bytes = 0;
};

TLetter ReadLetter(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t count = 0;
  char32_t code = 0, least = 0;
  if ((lead & 0xE0) == 0xC0) {
    count = 2, code = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    count = 3, code = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    count = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return {};
  }
  if (at + count > text.size()) return {};
  for (std::size_t i = 1; i < count; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
  return {code, count};
}

// Control characters (C0, DEL, C1) and every space Unicode knows, the invisible ones included:
// none may stand in a field.
bool IsForbidden(char32_t c) {
  return c < 0x21 || (c >= 0x7F && c <= 0xA0) || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202F) || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const TLetter letter = ReadLetter(text, at);
    if (letter.Bytes == 0) return false;
    at += letter.Bytes;
  }
  return true;
}

bool IsValidName(std::string_view name) {
  std::size_t letters = 0;
  for (std::size_t at = 0; at < name.size(); ++letters) {
    const TLetter letter = ReadLetter(name, at);
    if (letter.Bytes == 0 || IsForbidden(letter.Code)) return false;
    at += letter.Bytes;
  }
  return letters >= 1 && letters <= MaxNameLetters;
}

std::string MakeValidName(std::string_view text) {
  std::string name;
  std::size_t letters = 0;
  for (std::size_t at = 0; at < text.size() && letters < MaxNameLetters; ++letters) {
    const TLetter letter = ReadLetter(text, at);
    if (letter.Bytes == 0 || IsForbidden(letter.Code)) {
      name += '_';
      at += letter.Bytes == 0 ? 1 : letter.Bytes;
    } else {
      name += text.substr(at, letter.Bytes);
      at += letter.Bytes;
    }
  }
  return name;
}

std::string PlayerName(std::string_view setting) {
  if (IsValidName(setting)) return std::string(setting);
  std::string login;
  if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_name) {
    login = user->pw_name;
  } else if (const char* variable = std::getenv("USER")) {
    login = variable;
  }
  std::string name = MakeValidName(login);
  if (name.empty()) name = MakeValidName(Tr("Игрок"));
  return name;
}

}  // namespace kravelon
