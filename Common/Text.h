#pragma once
// Every text the player sees or hears goes through these, so that the catalogue of the player's
// language can replace it. The texts written in the code are the game's own Russian ones and are
// the catalogue's keys; with no catalogue in use they come back unchanged.
//
// xgettext finds them by the keywords Tr, TrN:1,3 and TrNoop (see po/CMakeLists.txt).
#include <libintl.h>

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kravelon {

inline constexpr const char* TextDomain = "kravelon";

// The text in the game's language. Never call it with "": gettext answers the catalogue's header.
inline const char* Tr(const char* text) { return dgettext(TextDomain, text); }

// The form of a noun-bearing text that goes with the number n. Russian has three (1 корабль,
// 2 корабля, 5 кораблей), more than gettext's untranslated fallback knows, so the game's own
// forms are chosen here; a catalogue is keyed by the first and the last and brings its own.
inline const char* TrN(const char* one, const char* few, const char* many, unsigned long n) {
  const char* translated = dngettext(TextDomain, one, many, n);
  if (translated != one && translated != many) return translated;
  const unsigned long tens = n % 100, units = n % 10;
  if (units == 1 && tens != 11) return one;
  if (units >= 2 && units <= 4 && (tens < 12 || tens > 14)) return few;
  return many;
}

// Marks a text for the catalogue where it is stored before the language is known (a table);
// it is translated with Tr where it is used.
constexpr const char* TrNoop(const char* text) { return text; }

// Puts the values in place of %1 … %9, so that a translation may reorder them. "%%" is one "%".
inline std::string Fill(std::string_view text, std::initializer_list<std::string_view> values) {
  std::string out;
  out.reserve(text.size() + 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == '%') {
        out += '%';
        ++i;
        continue;
      }
      const std::size_t index = static_cast<std::size_t>(next - '1');
      if (next >= '1' && next <= '9') {
        if (index < values.size()) out += values.begin()[index];
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace kravelon
