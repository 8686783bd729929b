#pragma once
// The folders the game keeps its files in, as the XDG base directory rules place them.
#include <string>

namespace kravelon {

// The folder a base directory variable names, or `home` + `underHome` when the variable is unset,
// empty or not absolute (the rules say such a value is to be ignored). "" when neither is usable:
// with no absolute home there is nowhere to keep anything.
std::string XdgFolder(const char* variable, const char* home, const char* underHome);

// The game's own folders: …/kravelon under $XDG_CONFIG_HOME (~/.config) and $XDG_DATA_HOME
// (~/.local/share). "" when there is no home.
std::string ConfigFolder();
std::string DataFolder();

}  // namespace kravelon
