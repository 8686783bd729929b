#include "tools/sim/SelfPlay.h"

TSelfPlay::TSelfPlay(std::uint64_t seed) : Random(seed), GameEngine(&Host, &Random) {}

int TSelfPlay::ArrangeUserFleet() {
  int restarts = 0;
  for (;;) {
    GameEngine.NewGame();
    Host.InstallIdle(TIdleStep::Arrange);  // as the "arrange" menu item does
    bool done = false;
    long steps = 0;
    while (GameEngine.ActiveSide == sdUser && Host.Installed == TIdleStep::Arrange &&
           steps < ArrangeStepLimit) {
      GameEngine.ArrangeStep(done);
      ++steps;
    }
    // The completed user's fleet hands the slot on to the computer's arrangement: stop there.
    if (GameEngine.ActiveSide == sdComputer) break;
    ++restarts;
  }
  Host.RemoveIdle();
  return restarts;
}

TSelfPlayResult TSelfPlay::PlayOne() {
  TSelfPlayResult result;
  result.ArrangementRestarts = ArrangeUserFleet();
  GameEngine.State = gsBattle;
  bool done = false;
  long steps = 0;
  while (!GameEngine.GameOver && steps < BattleStepLimit) {
    // The user passes: the turn goes to the computer as after a user's miss.
    GameEngine.ActiveSide = sdComputer;
    Host.InstallIdle(TIdleStep::ComputerTurn);
    while (Host.Installed == TIdleStep::ComputerTurn && steps < BattleStepLimit) {
      GameEngine.ComputerTurnStep(done);
      ++steps;
    }
  }
  Host.RemoveIdle();
  result.Shots = GameEngine.ComputerShots;
  result.Hits = GameEngine.ComputerHits;
  result.Finished = GameEngine.GameOver != 0 && GameEngine.AllSunk(sdUser);
  return result;
}
