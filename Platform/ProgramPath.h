#pragma once
#include <string>

namespace kravelon {

// The game's data folder (with its trailing separator) followed by the relative path unchanged.
std::string ProgramPath(const std::string& relative);

// Points ProgramPath at another folder (ending in '/'); empty restores the executable's. For tests
// that run the game's start-up against a fixture folder.
void SetProgramFolder(const std::string& folder);

// Where Images/ and Sounds/ are read from: the executable's own folder when it holds either (the
// build folder, a copy run in place), else the installed data folder, given relative to the
// executable's folder, when that holds either; else the executable's folder, so that the
// messages about a missing folder speak of the place the game was started from. Both arguments
// end in '/', and so does the result.
std::string GameDataFolder(const std::string& executableFolder, const std::string& installedData);

}  // namespace kravelon
