#pragma once
// Pictures for people, not for the game: a contact sheet of every asset at 1:1 and a mock-up
// of the game's screens composed the way the painter composes them.
#include <filesystem>

namespace assetgen {

// Both read the finished files from assetDir (Images/ and Sounds/), as the game would.
void WriteContactSheet(const std::filesystem::path& assetDir, const std::filesystem::path& png);
void WriteMockup(const std::filesystem::path& assetDir, const std::filesystem::path& png);

}  // namespace assetgen
