#pragma once
// The statistics box's text: the game just played, then the player's record.
#include <string>

#include "Store/Record.h"

namespace kravelon {

// `shots` and `hits` are the computer's in the game just played.
std::string StatisticsText(int shots, int hits, const TRecordSummary& record);

}  // namespace kravelon
