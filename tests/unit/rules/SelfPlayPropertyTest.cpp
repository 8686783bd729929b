// Whole games over many seeds, with the user pressing the right button during the arrangements,
// as a player may, under the game's own rules and the house rules.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "RulesTestSupport.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

// What the computer has done to the user's board must agree with its counters and its beliefs.
// Where ships touch the captain hears each sinking, so it strikes exactly the sizes sunk.
::testing::AssertionResult ShootingIsConsistent(TGameEngine& engine) {
  const bool exact = engine.Rules().Touching;
  int fired = 0;
  int hits = 0;
  std::array<int, 10> intact{};
  for (int c = 0; c < 10; ++c) {
    for (int r = 0; r < 10; ++r) {
      const TCell cell = engine.ReadCell(c, r, 0);
      fired += cell.Fired;
      if (cell.Empty == 0 && cell.Fired == 1) ++hits;
      if (cell.Empty == 0 && cell.Fired == 0) ++intact[static_cast<std::size_t>(cell.ShipNo)];
    }
  }
  // One new cell per shot: no cell fired twice, no shot off the board.
  if (fired != engine.ComputerShots()) {
    return ::testing::AssertionFailure()
           << fired << " cells fired, " << engine.ComputerShots() << " shots";
  }
  if (hits != engine.ComputerHits())
    return ::testing::AssertionFailure() << hits << " hit, " << engine.ComputerHits() << " hits";
  std::array<int, 5> sunk{};
  std::array<int, 5> struck{};
  for (std::size_t i = 0; i < 10; ++i) {
    const auto size = static_cast<std::size_t>(TGameEngine::ShipSizes[i]);
    if (intact[i] == 0) ++sunk[size];
    if (Captain(engine).FleetLeft()[i] == 0) ++struck[size];
  }
  for (std::size_t size = 1; size <= 4; ++size) {
    if (struck[size] > sunk[size] || (exact && struck[size] != sunk[size])) {
      return ::testing::AssertionFailure()
             << "size " << size << " struck " << struck[size] << " times, sunk " << sunk[size];
    }
  }
  return ::testing::AssertionSuccess();
}

struct TRulesCase {
  const char* Name;
  TRules Rules;
};
void PrintTo(const TRulesCase& p, std::ostream* os) { *os << p.Name; }

class SelfPlay : public ::testing::TestWithParam<TRulesCase> {};

TEST_P(SelfPlay, EveryGameArrangesLegalFleetsAndEndsWithTheUsersFleetSunk) {
  const TRules rules = GetParam().Rules;
  constexpr int Engines = 60;
  constexpr int GamesPerEngine = 5;  // the working state carries from game to game
  long totalShots = 0;
  for (int seed = 1; seed <= Engines; ++seed) {
    TRecordingHost host;
    TPcg32 random(static_cast<std::uint64_t>(seed));
    TPcg32 player(static_cast<std::uint64_t>(seed) * 7919U);  // the user's presses
    TGameEngine engine(&host, &random);
    engine.SetRules(rules);
    for (int game = 0; game < GamesPerEngine; ++game) {
      SCOPED_TRACE(::testing::Message() << "seed " << seed << " game " << game);
      engine.NewGame();
      host.Winners.clear();
      RunIdleStep(engine, host, TIdleStep::Arrange, 100000, [&] {
        // The right button, now and then.
        if (player.Next() % 4 == 0) engine.ToggleOrientation(engine.ActiveSide());
        return true;
      });
      ASSERT_EQ(engine.State(), gsBattle);
      ASSERT_TRUE(FleetIsLegal(engine, 0, rules.Touching));
      ASSERT_TRUE(FleetIsLegal(engine, 1, rules.Touching));

      long steps = 0;
      while (!engine.GameOver()) {
        Probe(engine).BeginTurn(sdComputer);  // the user passes
        bool consistent = true;
        steps += RunIdleStep(engine, host, TIdleStep::ComputerTurn, 100000 - steps, [&] {
                   // Every step, the first included, starts from a consistent state.
                   consistent = ShootingIsConsistent(engine);
                   return consistent;
                 }).Steps;
        ASSERT_TRUE(consistent && ShootingIsConsistent(engine));
        ASSERT_LT(steps, 100000) << "the computer's search never ends";
      }
      EXPECT_TRUE(engine.AllSunk(0));
      EXPECT_EQ(engine.ComputerHits(), 20);
      EXPECT_EQ(engine.State(), gsReport);
      EXPECT_EQ(engine.ActiveSide(), sdComputer);
      EXPECT_EQ(host.Winners, (std::vector<int>{sdComputer}));
      totalShots += engine.ComputerShots();
    }
  }
  // A sanity bound on the play itself: a fleet of 20 segments takes well over 20 shots.
  EXPECT_GT(totalShots, 20L * Engines * GamesPerEngine);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SelfPlay,
    ::testing::Values(TRulesCase{"TheGamesOwn", {}}, TRulesCase{"Touching", {.Touching = true}},
                      TRulesCase{"Salvo", {.Salvo = true}},
                      TRulesCase{"NoExtraShot", {.ExtraShot = false}},
                      TRulesCase{"All", {.Touching = true, .Salvo = true, .ExtraShot = false}}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

}  // namespace kravelon
