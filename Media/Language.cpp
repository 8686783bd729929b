#include "Media/Language.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Common/Text.h"
#include "Platform/ProgramPath.h"
#include "Formats/Catalogue.h"
#include "Platform/Files.h"

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

}  // namespace

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
  bool named = false;  // a list of colons alone names no language: as if it were unset
  for (std::size_t start = 0; start < list.size();) {
    const std::size_t end = std::min(list.find(':', start), list.size());
    const std::string code = LanguageCode(list.substr(start, end - start));
    if (!code.empty() && IsGameLanguage(code)) return code;
    named |= !code.empty();
    start = end + 1;
  }
  if (LanguageCode(locale) == OwnLanguage) return std::string(OwnLanguage);
  if (IsNoLanguage(locale) && !named) return std::string(OwnLanguage);
  const std::string code = LanguageCode(locale);
  return IsGameLanguage(code) && !IsNoLanguage(locale) ? code : "en";
}

namespace {

std::string ChooseLanguage(const std::string& code, const std::string& localeFolder) {
  const std::string wanted = code.empty() ? LanguageOfEnvironment(std::getenv) : code;
  CurrentLanguage() = std::string(OwnLanguage);
  std::setlocale(LC_MESSAGES, "C");
  if (wanted == OwnLanguage) return {};

  const std::string file = localeFolder + wanted + "/LC_MESSAGES/" + TextDomain + ".mo";
  const TFileBytes catalogue = ReadLimited(file, MaxCatalogueBytes);
  if (catalogue.Status == TReadStatus::Missing || catalogue.Status == TReadStatus::NotAFile)
    return Fill(Tr("Не найден перевод \"%1\": игра идет на русском языке."), {file});
  if (!catalogue.Read() || !IsReadableCatalogue(catalogue.Data(), catalogue.Size()))
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
