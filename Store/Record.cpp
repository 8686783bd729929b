#include "Store/Record.h"

#include <charconv>
#include <ctime>

namespace kravelon {

namespace {

// Ten ships, 20 cells: the winner hit all of them, the loser fewer; nobody fires at a cell twice.
constexpr int FleetCells = 20, BoardCells = 100;

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

std::optional<TGameResult> ParseGame(std::string_view line) {
  const auto fields = Fields(line);
  if (fields.size() != 6 || !PlausibleDate(fields[0])) return std::nullopt;
  TGameResult game;
  game.Date = fields[0];
  if (fields[1] == "user") {
    game.UserWon = true;
  } else if (fields[1] != "computer") {
    return std::nullopt;
  }
  if (!ReadNumber(fields[2], game.UserShots) || !ReadNumber(fields[3], game.UserHits) ||
      !ReadNumber(fields[4], game.ComputerShots) || !ReadNumber(fields[5], game.ComputerHits))
    return std::nullopt;
  const auto possible = [](int shots, int hits, bool won) {
    return shots <= BoardCells && hits <= shots && (won ? hits == FleetCells : hits < FleetCells);
  };
  if (!possible(game.UserShots, game.UserHits, game.UserWon) ||
      !possible(game.ComputerShots, game.ComputerHits, !game.UserWon))
    return std::nullopt;
  return game;
}

}  // namespace

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
  text += "\n# date winner user-shots user-hits computer-shots computer-hits\n";
  for (const TGameResult& game : games) {
    text += game.Date + (game.UserWon ? " user " : " computer ") + std::to_string(game.UserShots) +
            ' ' + std::to_string(game.UserHits) + ' ' + std::to_string(game.ComputerShots) + ' ' +
            std::to_string(game.ComputerHits) + '\n';
  }
  return text;
}

std::optional<std::vector<TGameResult>> ParseRecord(std::string_view text) {
  // Every line ends in a newline: a file cut short ends without one.
  if (!text.starts_with(RecordHeader) || !text.ends_with('\n')) return std::nullopt;
  std::vector<TGameResult> games;
  text.remove_suffix(1);
  std::size_t start = RecordHeader.size() + 1;
  if (start - 1 == text.size()) return games;
  if (text[start - 1] != '\n') return std::nullopt;
  while (start <= text.size()) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline;
    const std::string_view line = text.substr(start, end - start);
    if (!line.starts_with('#')) {
      const auto game = ParseGame(line);
      if (!game) return std::nullopt;
      games.push_back(*game);
    }
    start = end + 1;
  }
  return games;
}

TRecordSummary Summarize(const std::vector<TGameResult>& games) {
  TRecordSummary summary;
  long shotsWon = 0, computerShots = 0, computerHits = 0;
  for (const TGameResult& game : games) {
    ++summary.Played;
    computerShots += game.ComputerShots;
    computerHits += game.ComputerHits;
    if (!game.UserWon) {
      ++summary.Lost;
      continue;
    }
    ++summary.Won;
    shotsWon += game.UserShots;
    if (summary.FewestShotsWon == 0 || game.UserShots < summary.FewestShotsWon)
      summary.FewestShotsWon = game.UserShots;
  }
  if (summary.Won > 0) summary.AverageShotsWon = static_cast<int>((2 * shotsWon + summary.Won) / (2 * summary.Won));
  if (computerShots > 0) summary.ComputerHitPercent = static_cast<int>(100 * computerHits / computerShots);
  return summary;
}

}  // namespace kravelon
