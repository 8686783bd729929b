#pragma once
// What the game says when the player has no folder for its files.
#include <string>

namespace kravelon {

// The start-up line for a player whose settings or record have nowhere to go (no HOME and no
// absolute XDG folder: their paths are ""), so that what is not kept is said once; "" when both
// have a place.
std::string NothingKeptNote(const std::string& settingsPath, const std::string& recordPath);

}  // namespace kravelon
