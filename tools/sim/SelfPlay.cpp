#include "tools/sim/SelfPlay.h"

#include "GameEngine/GameEngineProbe.h"
#include "GameEngine/Levels/Admiral.h"

namespace kravelon {

TSelfPlay::TSelfPlay(std::uint64_t seed, TLevel level, TFleets fleets, const TRules& rules)
    : Random(seed), GameEngine(&Host, &Random), Fleets(fleets), Rules(rules) {
  GameEngine.SetLevel(level);
  GameEngine.SetRules(rules);
}

int TSelfPlay::ArrangeUserFleet() {
  int restarts = 0;
  for (;;) {
    GameEngine.NewGame();
    if (Fleets == TFleets::Admiral) {
      // Placed as the user would, a ship at a time where the plan puts it.
      const TFleetPlan plan = TAdmiral::ArrangeFleet(Random, Rules.Touching);
      for (const TShipPlacement& ship : plan) {
        GameEngine.SetOrientation(ship.Horizontal);
        if (!GameEngine.CanPlace(ship.At.X, ship.At.Y, GameEngine.NextShipSize())) break;
        GameEngine.PlaceShip(ship.At.X, ship.At.Y);
      }
    } else {
      // As the "arrange" menu item does.
      RunIdleStep(GameEngine, Host, TIdleStep::Arrange, ArrangeStepLimit,
                  [this] { return GameEngine.ActiveSide() == sdUser; });
    }
    // The completed user's fleet hands the slot on to the computer's arrangement: stop there.
    if (GameEngine.ActiveSide() == sdComputer) break;
    ++restarts;
  }
  Host.Installed = TIdleStep::None;
  return restarts;
}

TSelfPlayResult TSelfPlay::PlayOne() {
  TSelfPlayResult result;
  result.ArrangementRestarts = ArrangeUserFleet();
  Probe(GameEngine).State = gsBattle;
  long steps = 0;
  while (!GameEngine.GameOver() && steps < BattleStepLimit) {
    // The user passes: the turn goes to the computer as after a user's last shot.
    Probe(GameEngine).BeginTurn(sdComputer);
    ++result.Turns;
    steps += RunIdleStep(GameEngine, Host, TIdleStep::ComputerTurn,
                         BattleStepLimit - steps)
                 .Steps;
  }
  Host.Installed = TIdleStep::None;
  result.Shots = GameEngine.ComputerShots();
  result.Hits = GameEngine.ComputerHits();
  result.Finished = GameEngine.GameOver() != 0 && GameEngine.AllSunk(sdUser);
  return result;
}

}  // namespace kravelon
