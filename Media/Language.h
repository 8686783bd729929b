#pragma once
// The game's language, chosen once at start before anything is shown: Russian, the game's own,
// or one with a catalogue built beside the game (po/). gettext does the translating; this decides
// which catalogue it reads, finds the catalogue and the pictures that carry words.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Languages.h"

namespace kravelon {

// The language the environment asks for, read as gettext reads it (LANGUAGE's list first, then
// LC_ALL, LC_MESSAGES, LANG): a Russian locale or C/POSIX/none gives "ru"; another real locale
// gives the first language of the list that the game speaks, or else English, which a player
// without a catalogue of their own reads more often than Russian.
using TEnvironment = std::function<const char*(const char*)>;
std::string LanguageOfEnvironment(const TEnvironment& environment);


// Starts the game in `code` ("ru", another of GameLanguages(), or empty for the environment's),
// reading catalogues from localeFolder (…/locale/<code>/LC_MESSAGES/kravelon.mo). A catalogue
// that is missing or damaged leaves the game in Russian; the answer is then the console line that
// says so, empty otherwise. Sets the process's message locale and LANGUAGE for gettext.
std::string StartLanguage(const std::string& code, const std::string& localeFolder);

// The language in use: "ru" until StartLanguage has chosen another.
const std::string& GameLanguage();
// The last StartLanguage's answer: the console line start-up writes, or empty.
const std::string& LanguageProblem();

// The catalogues' folder: locale/ beside the executable (the build), else the installed one.
std::string CatalogueFolder();

// A picture that carries words in the game's language: "Images/<code>/<name>" when the game
// speaks another language than its own and that file is there, else the path itself.
std::string PicturePath(const std::string& relative);

}  // namespace kravelon
