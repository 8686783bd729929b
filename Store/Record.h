#pragma once
// The record of finished games: one line a game in a small text file of our own, and what the
// statistics box sums up from it.
//
// Version 2, written since the computer got its levels, the house rules and the network game:
//
//   kravelon record 2
//   # date opponent rules outcome user-shots user-hits opponent-shots opponent-hits
//   2025-01-31T23:59:59Z captain extra-shot won 45 20 61 17
//   2025-02-01T10:00:00Z player:Вася salvo,extra-shot left 30 12 28 9
//
// opponent: a computer level (cabin-boy, sailor, captain, admiral) or "player:" and a network
// player's name (Common/PlayerName.h); rules: the switches that were on, in this order, or
// "none"; outcome: won, lost (the opponent won), left (the network opponent left without showing
// their fleet), void (a cheat was found). Shots are cells fired at, hits the cells of ships.
// Version 1 ("kravelon record 1": date, user or computer, the four counts) is still read: every
// game in it was a captain game under the default rules.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kravelon {

// The computer's levels, weakest first. The captain is the computer the game always had.
enum class TLevel { CabinBoy, Sailor, Captain, Admiral };
inline constexpr TLevel AllLevels[] = {TLevel::CabinBoy, TLevel::Sailor, TLevel::Captain,
                                       TLevel::Admiral};
// "cabin-boy", "sailor", "captain", "admiral": the record's and the settings' word for it.
std::string_view LevelWord(TLevel level);

// The house rules of a game; the defaults are the game's own rules.
struct TRules {
  bool Touching = false;  // ships may touch
  bool Salvo = false;     // a turn is a salvo of shots
  bool ExtraShot = true;  // a hit lets the side fire again
  bool operator==(const TRules&) const = default;
  bool IsDefault() const { return *this == TRules{}; }
};

// How a game ended besides who won.
enum class TEnding {
  PlayedOut,  // a fleet was sunk: UserWon says whose
  Left,       // the network opponent left without showing their fleet
  Void,       // a cheat was found
};
enum class TOutcome { Won, Lost, Left, Void };

struct TGameResult {
  std::string Date;      // when the game ended, UTC: 2025-01-31T23:59:59Z
  bool UserWon = false;  // in a game played out
  int UserShots = 0, UserHits = 0;
  // The opponent's: the computer's, or the network player's.
  int ComputerShots = 0, ComputerHits = 0;
  TLevel Level = TLevel::Captain;  // the computer's, when Player is ""
  std::string Player{};            // the network opponent's name; "" against the computer
  TRules Rules;
  TEnding Ending = TEnding::PlayedOut;

  TOutcome Outcome() const;
  bool AgainstComputer() const { return Player.empty(); }
  // The same game: UserWon counts only in a game played out.
  bool operator==(const TGameResult& other) const;
};

// The first line of what the game writes, and of the first version it still reads; a file that
// starts with neither is not ours.
inline constexpr std::string_view RecordHeader = "kravelon record 2";
inline constexpr std::string_view RecordHeaderVersion1 = "kravelon record 1";
// The record read in full at most: some seventy thousand games. A larger file is refused unread,
// like a damaged one, so the game never writes one (Store/DurableUpdate.h).
inline constexpr std::size_t RecordSizeLimit = 4 << 20;

// Now, in the record's form.
std::string RecordDate();

std::string FormatRecord(const std::vector<TGameResult>& games);
// Every game of the text; nothing when any line is not a game a real board could have given
// (a damaged, truncated or foreign file), with that line's number (from 1) in `badLine`.
std::optional<std::vector<TGameResult>> ParseRecord(std::string_view text,
                                                    std::size_t* badLine = nullptr);
// Whether the record can hold the game: written, it reads back as the same game. A game from a
// hostile peer or a fault of the game's own never reaches the file, where it would make the whole
// record unreadable.
bool Recordable(const TGameResult& game);

// Games and wins of one kind: a level, the network, a set of rules.
struct TTally {
  int Played = 0, Won = 0, Lost = 0;
  bool operator==(const TTally&) const = default;
};

struct TRecordSummary {
  int Played = 0, Won = 0, Lost = 0;  // a game left or void is played, neither won nor lost
  int FewestShotsWon = 0;             // of the games the user won; 0 with none won
  int AverageShotsWon = 0;            // rounded to the nearest
  int ComputerHitPercent = 0;         // over every game against the computer, cut towards zero
  std::vector<std::pair<TLevel, TTally>> Levels{};    // each level played, weakest first
  TTally Network{};                                   // the games against network players
  std::vector<std::pair<TRules, TTally>> RuleSets{};  // each set played, the default first
  // Every game a captain game under the default rules: the box says what it always said.
  bool OnlyTheGameItAlwaysWas() const;
};
TRecordSummary Summarize(const std::vector<TGameResult>& games);

}  // namespace kravelon
