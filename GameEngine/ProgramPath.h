#pragma once
#include <string>

// The program's folder (with its trailing separator) followed by the relative path unchanged.
std::string ProgramPath(const std::string& relative);

// Points ProgramPath at another folder (ending in '/'); empty restores the executable's. For tests
// that run the game's start-up against a fixture folder.
void SetProgramFolder(const std::string& folder);
