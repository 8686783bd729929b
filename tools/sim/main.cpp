// kravelon-sim: the computer, at any of its levels, against the user's fleets arranged at random
// or the admiral's way, with the engine's own code. Prints one "key value" line per figure so
// that scripts can read the results.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "GameEngine/Level.h"
#include "GameEngine/Rules.h"
#include "tools/sim/SelfPlay.h"

using namespace kravelon;

namespace {

constexpr std::string_view Usage =
    "usage: kravelon-sim [--games N] [--seed S] [--level L] [--fleets F]\n"
    "                    [--touching[=yes|no]] [--salvo[=yes|no]] [--extra-shot[=yes|no]]\n"
    "  --games N, -n N   games to play (default 1000)\n"
    "  --seed S, -s S    seed of the random source (default: the clock, in seconds)\n"
    "  --level L, -l L   the computer's level: cabin-boy, sailor, captain, admiral, or 1 to 4\n"
    "                    (default captain)\n"
    "  --fleets F, -f F  the user's fleets: random (the automatic arrangement, the default) or\n"
    "                    admiral (arranged as the admiral hides its own)\n"
    "  --touching        ships may touch (default no)\n"
    "  --salvo           a salvo a turn, a shot for each ship afloat (default no)\n"
    "  --extra-shot=no   every shot passes the turn, hit or miss (default yes)\n";

// The house rules' switches as options: "--touching" is "--touching=yes".
struct TSwitchOption {
  TRuleSwitch Rule;
  std::string_view Option;  // "--touching"
  std::string_view Key;     // the output's line, "touching"
};
constexpr TSwitchOption SwitchOptions[] = {{rsTouching, "--touching", "touching"},
                                           {rsSalvo, "--salvo", "salvo"},
                                           {rsExtraShot, "--extra-shot", "extra_shot"}};

bool ParseNumber(const char* text, std::uint64_t& value) {
  try {
    std::size_t used = 0;
    const std::string s(text);
    if (s.empty() || s[0] == '-') return false;
    value = std::stoull(s, &used, 10);
    return used == s.size();
  } catch (...) {
    return false;
  }
}

// Nearest-rank percentile of sorted values.
int Percentile(const std::vector<int>& sorted, double p) {
  const auto rank =
      static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t games = 1000;
  auto seed = static_cast<std::uint64_t>(std::time(nullptr));
  std::optional<TLevel> level;
  std::optional<TFleets> fleets;
  TRules rules;
  std::array<std::optional<bool>, AllRuleSwitches.size()> given{};  // the switches named
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage.data(), stdout);
      return 0;
    }
    const auto option = std::find_if(
        std::begin(SwitchOptions), std::end(SwitchOptions), [arg](const TSwitchOption& o) {
          return arg == o.Option || (arg.starts_with(o.Option) && arg[o.Option.size()] == '=');
        });
    if (option != std::end(SwitchOptions)) {
      const std::string_view value =
          arg.size() == option->Option.size() ? "yes" : arg.substr(option->Option.size() + 1);
      if (value != "yes" && value != "no") {
        std::fprintf(stderr, "kravelon-sim: %s takes yes or no, not '%.*s'\n%s",
                     std::string(option->Option).c_str(), static_cast<int>(value.size()),
                     value.data(), Usage.data());
        return 2;
      }
      given[static_cast<std::size_t>(option->Rule)] = value == "yes";
      SetRule(rules, option->Rule, value == "yes");
      continue;
    }
    const bool isLevel = arg == "--level" || arg == "-l";
    if (isLevel || arg == "--fleets" || arg == "-f") {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "kravelon-sim: %s needs a value\n%s", argv[i], Usage.data());
        return 2;
      }
      const std::string_view value = argv[++i];
      if (isLevel) {
        level = ParseLevel(value);
      } else if (value == "random" || value == "admiral") {
        fleets = value == "admiral" ? TFleets::Admiral : TFleets::Random;
      }
      if (isLevel ? !level : !fleets) {
        std::fprintf(stderr, "kravelon-sim: unknown %s '%s': give %s\n%s", isLevel ? "level" : "fleets",
                     argv[i],
                     isLevel ? "cabin-boy, sailor, captain, admiral or 1 to 4" : "random or admiral",
                     Usage.data());
        return 2;
      }
      continue;
    }
    std::uint64_t* target = (arg == "--games" || arg == "-n")  ? &games
                            : (arg == "--seed" || arg == "-s") ? &seed
                                                               : nullptr;
    if (target == nullptr || i + 1 >= argc || !ParseNumber(argv[i + 1], *target)) {
      std::fprintf(stderr, "kravelon-sim: bad argument '%s'\n%s", argv[i], Usage.data());
      return 2;
    }
    ++i;
  }
  if (games == 0) {
    std::fprintf(stderr, "kravelon-sim: at least one game is needed\n");
    return 2;
  }

  TSelfPlay play(seed, level.value_or(DefaultLevel), fleets.value_or(TFleets::Random), rules);
  std::vector<int> shots;
  shots.reserve(games);
  double percentSum = 0;
  double turnSum = 0;
  long restarts = 0;
  long unfinished = 0;
  const auto start = std::chrono::steady_clock::now();
  for (std::uint64_t g = 0; g < games; ++g) {
    const TSelfPlayResult result = play.PlayOne();
    shots.push_back(result.Shots);
    // As the statistics window shows it: the integer part, cut towards zero.
    percentSum += result.Shots == 0 ? 0 : (100 * result.Hits) / result.Shots;
    turnSum += result.Turns;
    restarts += result.ArrangementRestarts;
    if (!result.Finished) ++unfinished;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::vector<int> sorted = shots;
  std::sort(sorted.begin(), sorted.end());
  const auto n = static_cast<double>(sorted.size());
  double mean = 0;
  for (const int s : sorted) mean += s;
  mean /= n;
  double variance = 0;
  for (const int s : sorted) variance += (s - mean) * (s - mean);
  variance /= n;
  const std::size_t mid = sorted.size() / 2;
  const double median =
      sorted.size() % 2 != 0 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2.0;

  // Only what was asked for is printed, so that a run without them prints what it always did.
  if (level) std::printf("level %s\n", std::string(LevelValue(*level)).c_str());
  if (fleets) std::printf("fleets %s\n", *fleets == TFleets::Admiral ? "admiral" : "random");
  const bool anySwitch =
      std::any_of(given.begin(), given.end(), [](const auto& on) { return on.has_value(); });
  for (const TSwitchOption& option : SwitchOptions) {
    if (const auto on = given[static_cast<std::size_t>(option.Rule)])
      std::printf("%s %s\n", std::string(option.Key).c_str(), *on ? "yes" : "no");
  }
  std::printf("games %llu\n", static_cast<unsigned long long>(games));
  std::printf("seed %llu\n", static_cast<unsigned long long>(seed));
  std::printf("shots_mean %.2f\n", mean);
  std::printf("shots_median %.1f\n", median);
  std::printf("shots_stddev %.2f\n", std::sqrt(variance));
  std::printf("shots_min %d\n", sorted.front());
  std::printf("shots_max %d\n", sorted.back());
  std::printf("shots_p10 %d\n", Percentile(sorted, 10));
  std::printf("shots_p90 %d\n", Percentile(sorted, 90));
  std::printf("hit_percent_mean %.2f\n", percentSum / n);
  // The turns tell the rules apart where the shots do not: the computer's search is the same
  // whether its shots come one a turn or ten.
  if (anySwitch) std::printf("turns_mean %.2f\n", turnSum / n);
  for (int bin = sorted.front() / 5 * 5; bin <= sorted.back(); bin += 5) {
    const auto count = std::upper_bound(sorted.begin(), sorted.end(), bin + 4) -
                       std::lower_bound(sorted.begin(), sorted.end(), bin);
    std::printf("histogram %d-%d %ld\n", bin, bin + 4, static_cast<long>(count));
  }
  std::printf("arrangement_restarts %ld\n", restarts);
  std::printf("unfinished_games %ld\n", unfinished);
  std::printf("seconds %.3f\n", seconds);
  std::printf("games_per_second %.0f\n", seconds > 0 ? n / seconds : 0.0);
  return unfinished == 0 ? 0 : 1;
}
