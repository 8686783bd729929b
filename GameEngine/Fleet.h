#pragma once
// The fleet each side hides: the rules' own, shared by the engine and the computer's levels.
#include <array>
#include <cstdint>

namespace kravelon {

inline constexpr int FleetShips = 10;
inline constexpr int FleetSegments = 20;
// Placement order, largest first.
inline constexpr std::array<std::int32_t, FleetShips> ShipSizes{4, 3, 3, 2, 2, 2, 1, 1, 1, 1};

}  // namespace kravelon
