#include "GameEngine/Level.h"

#include "Common/Text.h"
#include "GameEngine/Levels/Admiral.h"
#include "GameEngine/Levels/Captain.h"
#include "GameEngine/Levels/Deckhand.h"

namespace kravelon {

namespace {

struct TLevelEntry {
  TLevel Level;
  std::string_view Value;
  std::string_view Number;
  const char* Name;
};

constexpr std::array<TLevelEntry, 4> Entries{{
    // TRANSLATORS: the weakest of the computer's four levels.
    {lvCabinBoy, "cabin-boy", "1", TrNoop("Юнга")},
    {lvSailor, "sailor", "2", TrNoop("Матрос")},
    {lvCaptain, "captain", "3", TrNoop("Капитан")},
    // TRANSLATORS: the strongest of the computer's four levels.
    {lvAdmiral, "admiral", "4", TrNoop("Адмирал")},
}};

const TLevelEntry& EntryOf(TLevel level) {
  for (const TLevelEntry& entry : Entries) {
    if (entry.Level == level) return entry;
  }
  return Entries[2];  // not a level: the default's
}

}  // namespace

std::optional<TLevel> ParseLevel(std::string_view value) {
  for (const TLevelEntry& entry : Entries) {
    if (value == entry.Value || value == entry.Number) return entry.Level;
  }
  return std::nullopt;
}

std::string_view LevelValue(TLevel level) { return EntryOf(level).Value; }

const char* LevelName(TLevel level) { return Tr(EntryOf(level).Name); }

std::unique_ptr<TOpponent> MakeOpponent(TLevel level, TRandomSource& random) {
  switch (level) {
    case lvCabinBoy:
      return std::make_unique<TDeckhand>(random, TDeckhand::CabinBoy);
    case lvSailor:
      return std::make_unique<TDeckhand>(random, TDeckhand::Sailor);
    case lvAdmiral:
      return std::make_unique<TAdmiral>(random);
    case lvCaptain:
    default:
      return std::make_unique<TCaptain>(random);
  }
}

}  // namespace kravelon
