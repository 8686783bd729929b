#pragma once
// The commitment to a fleet: each side sends the SHA-256 of "<salt> <fleet>" before the first
// shot and the text itself once the game is over, so neither can move a ship in between and
// neither can read the other's fleet from the hash (the salt is new every game).
#include <string>
#include <string_view>
#include <vector>

#include "GameEngine/Fleet.h"

namespace kravelon {

// 32 lower-case hex digits from 16 random bytes of the system's source.
std::string MakeSalt();

// Whether `text` is written as a salt is: 32 lower-case hex digits.
bool IsSalt(std::string_view text);

// The SHA-256 of `text`, in 64 lower-case hex digits.
std::string Sha256Hex(std::string_view text);

// The commitment FLEET carries for this salt and fleet.
std::string Commit(std::string_view salt, const std::vector<TShip>& fleet);

// Whether a revealed salt and fleet are the ones committed to.
bool MatchesCommitment(std::string_view commitment, std::string_view salt,
                       const std::vector<TShip>& fleet);

}  // namespace kravelon
