#include "Media/Language.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Common/Text.h"
#include "Media/ProgramPath.h"
#include "Toolkit/Files.h"

namespace kravelon {

namespace {

std::string& CurrentLanguage() {
  static std::string language(OwnLanguage);
  return language;
}

std::string& CurrentProblem() {
  static std::string problem;
  return problem;
}

// "ru_RU.UTF-8" → "ru", "de_DE@euro" → "de", "en" → "en".
std::string LanguageCode(std::string_view locale) {
  return std::string(locale.substr(0, locale.find_first_of("_.@")));
}

bool IsNoLanguage(std::string_view locale) {
  return locale.empty() || locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

std::uint32_t Word(const std::vector<std::uint8_t>& bytes, std::size_t at, bool swapped) {
  std::uint32_t w = 0;
  for (int i = 0; i < 4; ++i) {
    const std::uint8_t b = bytes[at + static_cast<std::size_t>(swapped ? 3 - i : i)];
    w |= static_cast<std::uint32_t>(b) << (8 * i);
  }
  return w;
}

}  // namespace

const std::vector<std::string>& GameLanguages() {
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

bool IsGameLanguage(std::string_view code) {
  for (const std::string& language : GameLanguages())
    if (language == code) return true;
  return false;
}

std::string LanguageOfEnvironment(const TEnvironment& environment) {
  auto value = [&](const char* name) -> std::string_view {
    const char* v = environment(name);
    return v ? v : "";
  };
  std::string_view locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = value(name);
    if (!locale.empty()) break;
  }
  // LANGUAGE is read even under the C locale, where gettext itself passes over it: a player who
  // names a language there means it.
  const std::string_view list = value("LANGUAGE");
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    const std::string code = LanguageCode(list.substr(start, end - start));
    if (!code.empty() && IsGameLanguage(code)) return code;
    start = end + 1;
  }
  if (LanguageCode(locale) == OwnLanguage) return std::string(OwnLanguage);
  if (IsNoLanguage(locale) && list.empty()) return std::string(OwnLanguage);
  const std::string code = LanguageCode(locale);
  return IsGameLanguage(code) && !IsNoLanguage(locale) ? code : "en";
}

bool IsSoundCatalogue(const std::vector<std::uint8_t>& bytes) {
  // The header: magic, revision, count, the two string tables, the hash table.
  if (bytes.size() < 28 || bytes.size() > MaxCatalogueBytes) return false;
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
  const std::uint64_t size = bytes.size();
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

namespace {

std::string ChooseLanguage(const std::string& code, const std::string& localeFolder) {
  const std::string wanted = code.empty() ? LanguageOfEnvironment(std::getenv) : code;
  CurrentLanguage() = std::string(OwnLanguage);
  std::setlocale(LC_MESSAGES, "C");
  if (wanted == OwnLanguage) return {};

  const std::string file = localeFolder + wanted + "/LC_MESSAGES/" + TextDomain + ".mo";
  std::vector<std::uint8_t> bytes;
  const TReadResult read = ReadFileBytes(file, MaxCatalogueBytes, bytes);
  if (read == TReadResult::Missing)
    return Fill(Tr("Не найден перевод \"%1\": игра идет на русском языке."), {file});
  if (read != TReadResult::Read || !IsSoundCatalogue(bytes))
    return Fill(Tr("Поврежден перевод \"%1\": игра идет на русском языке."), {file});

  // gettext translates only under a message locale other than C; C.UTF-8 is always there and
  // changes nothing else (numbers, dates and the rest keep the C locale).
  if (!std::setlocale(LC_MESSAGES, "C.UTF-8") && !std::setlocale(LC_MESSAGES, "C.utf8"))
    return Fill(Tr("Не найден перевод \"%1\": игра идет на русском языке."), {file});
  setenv("LANGUAGE", wanted.c_str(), 1);
  bindtextdomain(TextDomain, localeFolder.c_str());
  bind_textdomain_codeset(TextDomain, "UTF-8");
  // The catalogue's header is its one entry with an empty key: there only when gettext read it.
  if (*dgettext(TextDomain, "") == '\0') {
    std::setlocale(LC_MESSAGES, "C");
    return Fill(Tr("Поврежден перевод \"%1\": игра идет на русском языке."), {file});
  }
  CurrentLanguage() = wanted;
  return {};
}

}  // namespace

std::string StartLanguage(const std::string& code, const std::string& localeFolder) {
  CurrentProblem() = ChooseLanguage(code, localeFolder);
  return CurrentProblem();
}

const std::string& LanguageProblem() { return CurrentProblem(); }

const std::string& GameLanguage() { return CurrentLanguage(); }

std::string CatalogueFolder() {
  const std::string own = ExecutableFolder();
  if (DirectoryExists(own + "locale")) return own + "locale/";
  return std::filesystem::path(own + KRAVELON_LOCALE_FROM_BINDIR).lexically_normal().string();
}

std::string PicturePath(const std::string& relative) {
  const std::string& language = GameLanguage();
  const std::size_t slash = relative.find('/');
  if (language == OwnLanguage || slash == std::string::npos) return relative;
  const std::string own =
      relative.substr(0, slash + 1) + language + relative.substr(slash);
  return FileExists(ProgramPath(own)) ? own : relative;
}

}  // namespace kravelon
