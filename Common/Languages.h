#pragma once
// The languages the game speaks: its own Russian and every language the build has a catalogue
// for (KRAVELON_TRANSLATIONS, from the top CMakeLists.txt). The settings and the language's
// choice both read this one list.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace kravelon {

// The game's own language: its texts are written in it, so it needs no catalogue.
inline constexpr std::string_view OwnLanguage = "ru";

// "ru" and every language whose catalogue the build makes.
inline const std::vector<std::string>& GameLanguages() {
  static const std::vector<std::string> languages = [] {
    std::vector<std::string> list{std::string(OwnLanguage)};
    const std::string built = KRAVELON_TRANSLATIONS;  // "en" or "en,de", from the build
    for (std::size_t start = 0; start < built.size();) {
      const std::size_t end = std::min(built.find(',', start), built.size());
      if (end > start) list.push_back(built.substr(start, end - start));
      start = end + 1;
    }
    return list;
  }();
  return languages;
}

inline bool IsGameLanguage(std::string_view code) {
  const auto& languages = GameLanguages();
  return std::find(languages.begin(), languages.end(), code) != languages.end();
}

}  // namespace kravelon
