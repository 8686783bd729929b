#pragma once
// A gettext catalogue written by the tests themselves: the game's texts in another language,
// without msgfmt at build time. The .mo layout: a header, the originals' and the translations'
// (length, offset) tables sorted by original, then the strings, each ending in a NUL.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace kravelon {

struct TMoEntry {
  std::string Original;     // "one\0many" for a plural entry
  std::string Translation;  // "form0\0form1" for a plural entry
};

// Writes `folder`/`language`/LC_MESSAGES/`domain`.mo with two plural forms, as English has.
inline void WriteMoCatalogue(const std::filesystem::path& folder, const std::string& language,
                             const std::string& domain, std::vector<TMoEntry> entries) {
  entries.push_back({"", "Content-Type: text/plain; charset=UTF-8\n"
                         "Plural-Forms: nplurals=2; plural=(n != 1);\n"});
  std::sort(entries.begin(), entries.end(),
            [](const TMoEntry& a, const TMoEntry& b) { return a.Original < b.Original; });
  const auto n = static_cast<std::uint32_t>(entries.size());
  std::vector<std::uint32_t> words{0x950412de, 0, n, 28, 28 + 8 * n, 0, 28 + 16 * n};
  std::string strings;
  const std::uint32_t start = 28 + 16 * n;
  std::vector<std::uint32_t> originals, translations;
  for (const TMoEntry& e : entries) {
    originals.insert(originals.end(), {static_cast<std::uint32_t>(e.Original.size()),
                                       start + static_cast<std::uint32_t>(strings.size())});
    strings += e.Original + '\0';
  }
  for (const TMoEntry& e : entries) {
    translations.insert(translations.end(), {static_cast<std::uint32_t>(e.Translation.size()),
                                             start + static_cast<std::uint32_t>(strings.size())});
    strings += e.Translation + '\0';
  }
  words.insert(words.end(), originals.begin(), originals.end());
  words.insert(words.end(), translations.begin(), translations.end());
  const std::filesystem::path dir = folder / language / "LC_MESSAGES";
  std::filesystem::create_directories(dir);
  std::ofstream out(dir / (domain + ".mo"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(words.data()),
            static_cast<std::streamsize>(words.size() * sizeof(std::uint32_t)));
  out.write(strings.data(), static_cast<std::streamsize>(strings.size()));
}

}  // namespace kravelon
