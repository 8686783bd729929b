#pragma once
// What the rules tell the world outside them, as game events in the order they happen. The main
// window turns them into log lines on the console, redraws, sounds, explosions, timers and idle
// steps; the unit tests and the simulator use hosts that record them, so the rules run without
// a window.
#include <string_view>

#include "Common/Types.h"
#include "GameEngine/Sides.h"

namespace kravelon {

class TGameHost {
 public:
  virtual ~TGameHost() = default;
  virtual void GameLogged(std::string_view line) = 0;  // a line of the rules' log, "Game: " included
  virtual void GameReset() = 0;                        // the boards are empty, the user places
  virtual void ShipPlaced(TSide side) = 0;             // a ship of that side stands on its board
  // The side's tenth ship stands: after the user's the computer arranges its fleet, after the
  // computer's the battle begins.
  virtual void FleetPlaced(TSide side) = 0;
  // A shot of `shooter` at a cell of the other side's board, its cell already marked.
  virtual void ShotFired(TSide shooter, TPoint cell, bool hit) = 0;
  // The turn passed (after a miss, or as the house rules pass it): `side` shoots next.
  virtual void TurnPassed(TSide side) = 0;
  virtual void GameWon(TSide winner) = 0;   // the last ship sank; the state is already the report
};

// A host that hears nothing: the engine's default when it is given none.
class TNullGameHost : public TGameHost {
 public:
  void GameLogged(std::string_view) override {}
  void GameReset() override {}
  void ShipPlaced(TSide) override {}
  void FleetPlaced(TSide) override {}
  void ShotFired(TSide, TPoint, bool) override {}
  void TurnPassed(TSide) override {}
  void GameWon(TSide) override {}
};

}  // namespace kravelon
