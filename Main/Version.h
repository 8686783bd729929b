#pragma once

namespace kravelon {
// The game's version, set once in the top CMakeLists.txt: the console, --version and the
// package all show this one.
inline constexpr const char* GameVersion = KRAVELON_VERSION;

}  // namespace kravelon
