// The computer's turn: its level decides where to fire from what its shots have told it, the
// engine fires and tells it what the shot did. It runs as an idle step, one step per call.
#include "GameEngine/GameEngine.h"

namespace kravelon {

void TGameEngine::ComputerTurnStep(bool& done) {
  done = false;
  const TSeaView& sea = Sea(sdComputer);
  const std::optional<TPoint> cell = Opponent->TurnStep(sea);
  if (!cell) return;
  // The host hears of the shot, and of the game's end, before the level hears of it; nothing
  // the host does reads the level's working state.
  const TShotResult result = ShootAndTell(cell->X, cell->Y);
  Opponent->ShotAnswered(*cell, result, sea);
}

}  // namespace kravelon
