#include "Store/Record.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <ctime>

#include "Common/PlayerName.h"

namespace kravelon {

namespace {

// Ten ships, 20 cells, whatever the rules; nobody fires at a cell twice.
constexpr int FleetCells = 20, BoardCells = 100;

constexpr std::string_view PlayerPrefix = "player:";

constexpr std::string_view OutcomeWords[] = {"won", "lost", "left", "void"};

bool ReadNumber(std::string_view text, int& value) {
  if (text.empty() || text.size() > 3) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool PlausibleDate(std::string_view date) {
  constexpr std::string_view shape = "dddd-dd-ddTdd:dd:ddZ";
  if (date.size() != shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const bool digit = date[i] >= '0' && date[i] <= '9';
    if (shape[i] == 'd' ? !digit : date[i] != shape[i]) return false;
  }
  return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t space = line.find(' ', start);
    const std::size_t end = space == std::string_view::npos ? line.size() : space;
    fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

std::string RulesWord(const TRules& rules) {
  std::string word;
  const std::pair<bool, const char*> switches[] = {
      {rules.Touching, "touching"}, {rules.Salvo, "salvo"}, {rules.ExtraShot, "extra-shot"}};
  for (const auto& [on, name] : switches) {
    if (!on) continue;
    if (!word.empty()) word += ',';
    word += name;
  }
  return word.empty() ? "none" : word;
}

// One spelling a set of rules: the switches in their order, each once.
std::optional<TRules> ReadRules(std::string_view word) {
  for (const bool touching : {false, true})
    for (const bool salvo : {false, true})
      for (const bool extraShot : {false, true}) {
        const TRules rules{touching, salvo, extraShot};
        if (RulesWord(rules) == word) return rules;
      }
  return std::nullopt;
}

bool ReadOpponent(std::string_view word, TGameResult& game) {
  if (word.starts_with(PlayerPrefix)) {
    word.remove_prefix(PlayerPrefix.size());
    if (!IsPlayerName(word)) return false;
    game.Player = word;
    return true;
  }
  for (const TLevel level : AllLevels) {
    if (LevelWord(level) != word) continue;
    game.Level = level;
    return true;
  }
  return false;
}

// Whether a real board, under the game's rules, could have given these counts.
bool Possible(const TGameResult& game) {
  const auto side = [](int shots, int hits) {
    return shots <= BoardCells && hits <= shots && hits <= FleetCells;
  };
  if (!side(game.UserShots, game.UserHits) || !side(game.ComputerShots, game.ComputerHits))
    return false;
  const bool userSank = game.UserHits == FleetCells, opponentSank = game.ComputerHits == FleetCells;
  switch (game.Outcome()) {
    case TOutcome::Won:
      if (!userSank || opponentSank) return false;
      break;
    case TOutcome::Lost:
      if (userSank || !opponentSank) return false;
      break;
    case TOutcome::Left:
    case TOutcome::Void:
      // Either may have sunk the other's fleet before the end went wrong, never both.
      if (userSank && opponentSank) return false;
      break;
  }
  // One shot a turn, turn about: neither side is ever two shots ahead. A salvo, or a hit that
  // fires again, lets the counts part.
  if (!game.Rules.Salvo && !game.Rules.ExtraShot &&
      std::abs(game.UserShots - game.ComputerShots) > 1)
    return false;
  return true;
}

bool ReadCounts(const std::vector<std::string_view>& fields, std::size_t first, TGameResult& game) {
  return ReadNumber(fields[first], game.UserShots) &&
         ReadNumber(fields[first + 1], game.UserHits) &&
         ReadNumber(fields[first + 2], game.ComputerShots) &&
         ReadNumber(fields[first + 3], game.ComputerHits);
}

// date user|computer user-shots user-hits computer-shots computer-hits
std::optional<TGameResult> ParseGameVersion1(std::string_view line) {
  const auto fields = Fields(line);
  if (fields.size() != 6 || !PlausibleDate(fields[0])) return std::nullopt;
  TGameResult game;
  game.Date = fields[0];
  if (fields[1] == "user") {
    game.UserWon = true;
  } else if (fields[1] != "computer") {
    return std::nullopt;
  }
  if (!ReadCounts(fields, 2, game) || !Possible(game)) return std::nullopt;
  return game;
}

std::optional<TGameResult> ParseGame(std::string_view line) {
  const auto fields = Fields(line);
  if (fields.size() != 8 || !PlausibleDate(fields[0])) return std::nullopt;
  TGameResult game;
  game.Date = fields[0];
  if (!ReadOpponent(fields[1], game)) return std::nullopt;
  const auto rules = ReadRules(fields[2]);
  if (!rules) return std::nullopt;
  game.Rules = *rules;
  const auto outcome = std::find(std::begin(OutcomeWords), std::end(OutcomeWords), fields[3]);
  if (outcome == std::end(OutcomeWords)) return std::nullopt;
  switch (static_cast<TOutcome>(outcome - std::begin(OutcomeWords))) {
    case TOutcome::Won:
      game.UserWon = true;
      break;
    case TOutcome::Lost:
      break;
    case TOutcome::Left:
      game.Ending = TEnding::Left;
      break;
    case TOutcome::Void:
      game.Ending = TEnding::Void;
      break;
  }
  if (!ReadCounts(fields, 4, game) || !Possible(game)) return std::nullopt;
  return game;
}

std::string FormatGame(const TGameResult& game) {
  std::string line = game.Date + ' ';
  line += game.AgainstComputer() ? std::string(LevelWord(game.Level))
                                 : std::string(PlayerPrefix) + game.Player;
  line += ' ' + RulesWord(game.Rules) + ' ';
  line += OutcomeWords[static_cast<int>(game.Outcome())];
  for (const int count : {game.UserShots, game.UserHits, game.ComputerShots, game.ComputerHits})
    line += ' ' + std::to_string(count);
  return line + '\n';
}

}  // namespace

std::string_view LevelWord(TLevel level) {
  constexpr std::string_view words[] = {"cabin-boy", "sailor", "captain", "admiral"};
  return words[static_cast<int>(level)];
}

TOutcome TGameResult::Outcome() const {
  switch (Ending) {
    case TEnding::Left:
      return TOutcome::Left;
    case TEnding::Void:
      return TOutcome::Void;
    case TEnding::PlayedOut:
      break;
  }
  return UserWon ? TOutcome::Won : TOutcome::Lost;
}

bool TGameResult::operator==(const TGameResult& other) const {
  const auto opponent = [](const TGameResult& g) {
    return g.AgainstComputer() ? std::string(LevelWord(g.Level))
                               : std::string(PlayerPrefix) + g.Player;
  };
  return Date == other.Date && Outcome() == other.Outcome() && opponent(*this) == opponent(other) &&
         Rules == other.Rules && UserShots == other.UserShots && UserHits == other.UserHits &&
         ComputerShots == other.ComputerShots && ComputerHits == other.ComputerHits;
}

std::string RecordDate() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

std::string FormatRecord(const std::vector<TGameResult>& games) {
  std::string text(RecordHeader);
  text += "\n# date opponent rules outcome user-shots user-hits opponent-shots opponent-hits\n";
  for (const TGameResult& game : games) text += FormatGame(game);
  return text;
}

std::optional<std::vector<TGameResult>> ParseRecord(std::string_view text, std::size_t* badLine) {
  std::size_t lineNumber = 1;
  const auto refuse = [&]() -> std::optional<std::vector<TGameResult>> {
    if (badLine) *badLine = lineNumber;
    return std::nullopt;
  };
  const bool version1 = text.starts_with(RecordHeaderVersion1);
  const std::string_view header = version1 ? RecordHeaderVersion1 : RecordHeader;
  // Every line ends in a newline: a file cut short ends without one.
  if (!text.starts_with(header) || !text.ends_with('\n') || text[header.size()] != '\n')
    return refuse();
  std::vector<TGameResult> games;
  for (std::size_t start = header.size() + 1; start < text.size();) {
    ++lineNumber;
    const std::size_t end = text.find('\n', start);
    const std::string_view line = text.substr(start, end - start);
    if (!line.starts_with('#')) {
      const auto game = version1 ? ParseGameVersion1(line) : ParseGame(line);
      if (!game) return refuse();
      games.push_back(*game);
    }
    start = end + 1;
  }
  return games;
}

bool Recordable(const TGameResult& game) {
  const std::string line = FormatGame(game);
  const auto back = ParseGame(std::string_view(line).substr(0, line.size() - 1));
  return back && *back == game;
}

bool TRecordSummary::OnlyTheGameItAlwaysWas() const {
  const bool captainOnly =
      Levels.empty() || (Levels.size() == 1 && Levels[0].first == TLevel::Captain);
  const bool defaultRulesOnly =
      RuleSets.empty() || (RuleSets.size() == 1 && RuleSets[0].first.IsDefault());
  return captainOnly && defaultRulesOnly && Network.Played == 0;
}

TRecordSummary Summarize(const std::vector<TGameResult>& games) {
  TRecordSummary summary;
  long shotsWon = 0, computerShots = 0, computerHits = 0;
  TTally levels[std::size(AllLevels)];
  // Every set of rules by its three switches as bits: touching 4, salvo 2, extra shot 1.
  TTally ruleSets[8];
  const auto ruleIndex = [](const TRules& r) { return r.Touching * 4 + r.Salvo * 2 + r.ExtraShot; };
  for (const TGameResult& game : games) {
    const TOutcome outcome = game.Outcome();
    const auto count = [outcome](TTally& tally) {
      ++tally.Played;
      tally.Won += outcome == TOutcome::Won;
      tally.Lost += outcome == TOutcome::Lost;
    };
    ++summary.Played;
    summary.Won += outcome == TOutcome::Won;
    summary.Lost += outcome == TOutcome::Lost;
    count(game.AgainstComputer() ? levels[static_cast<int>(game.Level)] : summary.Network);
    count(ruleSets[ruleIndex(game.Rules)]);
    if (game.AgainstComputer()) {
      computerShots += game.ComputerShots;
      computerHits += game.ComputerHits;
    }
    if (outcome != TOutcome::Won) continue;
    shotsWon += game.UserShots;
    if (summary.FewestShotsWon == 0 || game.UserShots < summary.FewestShotsWon)
      summary.FewestShotsWon = game.UserShots;
  }
  if (summary.Won > 0)
    summary.AverageShotsWon = static_cast<int>((2 * shotsWon + summary.Won) / (2 * summary.Won));
  if (computerShots > 0)
    summary.ComputerHitPercent = static_cast<int>(100 * computerHits / computerShots);
  for (const TLevel level : AllLevels)
    if (const TTally& tally = levels[static_cast<int>(level)]; tally.Played > 0)
      summary.Levels.emplace_back(level, tally);
  const int defaultIndex = ruleIndex(TRules{});
  for (int i = -1; i < 8; ++i) {
    const int index = i < 0 ? defaultIndex : i;
    if (ruleSets[index].Played == 0 || (i >= 0 && index == defaultIndex)) continue;
    summary.RuleSets.emplace_back(TRules{(index & 4) != 0, (index & 2) != 0, (index & 1) != 0},
                                  ruleSets[index]);
  }
  return summary;
}

}  // namespace kravelon
