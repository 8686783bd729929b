#pragma once
// The computer's levels, from a cabin boy to an admiral. The captain is the game's own computer
// and the default; the level chosen applies from the next game on.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "GameEngine/Opponent.h"
#include "GameEngine/RandomSource.h"

namespace kravelon {

enum TLevel : std::int32_t { lvCabinBoy = 1, lvSailor = 2, lvCaptain = 3, lvAdmiral = 4 };

inline constexpr TLevel DefaultLevel = lvCaptain;
inline constexpr std::array<TLevel, 4> AllLevels{lvCabinBoy, lvSailor, lvCaptain, lvAdmiral};

// A level as the settings and the command line write it, "cabin-boy" … "admiral", or its
// number "1" … "4"; none for anything else.
std::optional<TLevel> ParseLevel(std::string_view value);
// The value that names the level in the settings: "cabin-boy", "sailor", "captain", "admiral".
std::string_view LevelValue(TLevel level);
// The level's name in the player's language: "Юнга", "Матрос", "Капитан", "Адмирал".
const char* LevelName(TLevel level);

// The computer playing at `level`, drawing from `random` (which must outlive it).
std::unique_ptr<TOpponent> MakeOpponent(TLevel level, TRandomSource& random);

}  // namespace kravelon
