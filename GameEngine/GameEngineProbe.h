#pragma once
// A way into the engine's state for the tests and the simulator: they set up a position (a
// state, a side to move, the computer's belief, its working state) that the rules would take many
// moves to reach. The game never includes this.
#include <array>
#include <cstdint>

#include "GameEngine/GameEngine.h"

namespace kravelon {

struct TGameEngineProbe {
  explicit TGameEngineProbe(TGameEngine& e)
      : State(e.CurrentState), ActiveSide(e.CurrentSide), ShipsLeft(e.ShipsToPlace),
        UserHorizontal(e.UserAcross), ComputerHorizontal(e.ComputerAcross), GameOver(e.FleetSunk),
        ComputerShots(e.ShotCount[sdComputer]), ComputerHits(e.HitTally[sdComputer]), FleetLeft(e.Afloat),
        AiStep(e.Step), DirOrder(e.DirectionOrder), TargetColumn(e.TargetColumn),
        TargetRow(e.TargetRow), DirIndex(e.DirIndex), HitCount(e.HitCount), Reversals(e.Reversals),
        AnchorColumn(e.AnchorColumn), AnchorRow(e.AnchorRow) {}

  std::int32_t& State;
  std::int32_t& ActiveSide;
  std::int32_t& ShipsLeft;
  std::uint8_t& UserHorizontal;
  std::uint8_t& ComputerHorizontal;
  std::uint8_t& GameOver;
  std::int32_t& ComputerShots;
  std::int32_t& ComputerHits;
  std::array<std::int32_t, TGameEngine::FleetShips>& FleetLeft;
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

inline TGameEngineProbe Probe(TGameEngine& engine) { return TGameEngineProbe(engine); }

}  // namespace kravelon
