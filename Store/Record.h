#pragma once
// The record of finished games: one line a game in a small text file of our own, and what the
// statistics box sums up from it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kravelon {

struct TGameResult {
  std::string Date;  // when the game ended, UTC: 2025-01-31T23:59:59Z
  bool UserWon = false;
  int UserShots = 0, UserHits = 0;
  int ComputerShots = 0, ComputerHits = 0;
  bool operator==(const TGameResult&) const = default;
};

// The file's first line; a file that does not start with it is not ours.
inline constexpr std::string_view RecordHeader = "kravelon record 1";
// The record read in full at most: a hundred thousand games and more. A larger file is refused
// unread, like a damaged one.
inline constexpr std::size_t RecordSizeLimit = 4 << 20;

// Now, in the record's form.
std::string RecordDate();

std::string FormatRecord(const std::vector<TGameResult>& games);
// Every game of the text; nothing when any line is not a game a real board could have given
// (a damaged, truncated or foreign file).
std::optional<std::vector<TGameResult>> ParseRecord(std::string_view text);

struct TRecordSummary {
  int Played = 0, Won = 0, Lost = 0;
  int FewestShotsWon = 0;   // of the games the user won; 0 with none won
  int AverageShotsWon = 0;  // rounded to the nearest
  int ComputerHitPercent = 0;  // over every game, cut towards zero as in the first line
};
TRecordSummary Summarize(const std::vector<TGameResult>& games);

}  // namespace kravelon
