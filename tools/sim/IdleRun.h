#pragma once
// The application's idle loop without a window: the engine's step for the installed slot, called
// again and again until the step removes itself. Shared by the simulator and the rules tests so
// that both drive the engine the same way.
#include <functional>

#include "GameEngine/GameEngine.h"
#include "GameEngine/GameHost.h"

namespace kravelon {

// Stands in for the application's idle slot: follows the rules' events as the main window does.
class TIdleSlotHost : public TNullGameHost {
 public:
  TIdleStep Installed = TIdleStep::None;
  void FleetPlaced(TSide side) override { Installed = StepAfterFleet(side); }
  void TurnPassed(TSide side) override { Installed = StepAfterTurn(side); }
  void GameWon(TSide) override { Installed = TIdleStep::None; }
};

struct TIdleRun {
  long Steps = 0;
  bool SaidDone = false;  // a step left its done flag set, which the engine's steps never should
};

// Installs `step` in the host's slot and runs it while the slot still holds it. `limit` cuts
// short a run that would never end; `beforeEach`, when given, runs ahead of every step and ends
// the run early by returning false.
inline TIdleRun RunIdleStep(TGameEngine& engine, TIdleSlotHost& host, TIdleStep step, long limit,
                            const std::function<bool()>& beforeEach = {}) {
  TIdleRun run;
  host.Installed = step;
  while (host.Installed == step && run.Steps < limit) {
    if (beforeEach && !beforeEach()) break;
    bool done = true;  // each step must clear it: the loop would drop a step that stays set
    if (step == TIdleStep::Arrange) {
      engine.ArrangeStep(done);
    } else {
      engine.ComputerTurnStep(done);
    }
    run.SaidDone = run.SaidDone || done;
    ++run.Steps;
  }
  return run;
}

}  // namespace kravelon
