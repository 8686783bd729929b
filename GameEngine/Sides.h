#pragma once
// The two sides; as a number, each is also its own board (0 the user's, 1 the computer's).
#include <cstdint>

namespace kravelon {

enum TSide : std::int32_t { sdUser = 0, sdComputer = 1 };

}  // namespace kravelon
