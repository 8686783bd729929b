#pragma once
// The statistics box's text: the game just played, then the player's record.
#include <string>

#include "Store/Record.h"

namespace kravelon {

// `shots` and `hits` are the opponent's in the game just played: the computer's, or with
// `player` a network player's.
std::string StatisticsText(int shots, int hits, const TRecordSummary& record, bool player = false);

}  // namespace kravelon
