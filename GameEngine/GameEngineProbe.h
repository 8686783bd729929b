#pragma once
// A way into the engine's state for the tests and the simulator: they set up a position (a
// state, a side to move, what the computer knows and believes, the captain's working state) that
// the rules would take many moves to reach. The game never includes this.
#include <array>
#include <cstdint>

#include "GameEngine/GameEngine.h"
#include "GameEngine/Levels/Captain.h"

namespace kravelon {

struct TGameEngineProbe {
  explicit TGameEngineProbe(TGameEngine& e)
      : Engine(e), State(e.CurrentState), ActiveSide(e.CurrentSide), ShipsLeft(e.ShipsToPlace),
        UserHorizontal(e.UserAcross), ComputerHorizontal(e.ComputerAcross), GameOver(e.FleetSunk),
        UserShots(e.SeaAt(sdComputer).ShotCount), UserHits(e.SeaAt(sdComputer).HitCount),
        ComputerShots(e.SeaAt(sdUser).ShotCount), ComputerHits(e.SeaAt(sdUser).HitCount),
        ArrangePhase(e.Phase) {}

  TOpponent& Opponent() { return *Engine.Opponent; }
  // `side` begins its turn as after the other side's last shot: with salvo on, a fresh salvo.
  // (Setting ActiveSide alone hands over the turn with no salvo counted.)
  void BeginTurn(TSide side) { Engine.BeginTurn(side); }
  // The shooter at `board` learns what is already fired at there, as if its own shot had found it.
  void Reveal(int board, int column, int row) { Engine.Reveal(board, column, row); }

  TGameEngine& Engine;
  std::int32_t& State;
  std::int32_t& ActiveSide;
  std::int32_t& ShipsLeft;
  std::uint8_t& UserHorizontal;
  std::uint8_t& ComputerHorizontal;
  std::uint8_t& GameOver;
  std::int32_t& UserShots;
  std::int32_t& UserHits;
  std::int32_t& ComputerShots;
  std::int32_t& ComputerHits;
  std::int32_t& ArrangePhase;
};

inline TGameEngineProbe Probe(TGameEngine& engine) { return TGameEngineProbe(engine); }

// The captain's working state, while the engine's computer plays at that level (the default).
struct TCaptainProbe {
  explicit TCaptainProbe(TCaptain& c)
      : Captain(c), FleetLeft(c.Afloat), AiStep(c.Phase), DirOrder(c.DirectionOrder),
        TargetColumn(c.TargetColumn), TargetRow(c.TargetRow), DirIndex(c.DirIndex),
        HitCount(c.HitCount), Reversals(c.Reversals), AnchorColumn(c.AnchorColumn),
        AnchorRow(c.AnchorRow) {}

  TCaptain& Captain;
  std::array<std::int32_t, FleetShips>& FleetLeft;
  std::int32_t& AiStep;
  std::array<std::int32_t, 4>& DirOrder;
  std::int32_t& TargetColumn;
  std::int32_t& TargetRow;
  std::int32_t& DirIndex;
  std::int32_t& HitCount;
  std::int32_t& Reversals;
  std::int32_t& AnchorColumn;
  std::int32_t& AnchorRow;
};

// A std::bad_cast when the engine's computer is not the captain.
inline TCaptain& Captain(TGameEngine& engine) {
  return dynamic_cast<TCaptain&>(Probe(engine).Opponent());
}
inline TCaptainProbe CaptainProbe(TGameEngine& engine) { return TCaptainProbe(Captain(engine)); }

}  // namespace kravelon
