#pragma once
// The side across the table, as the engine drives it: one of the computer's levels, and the same
// interface for any other player the game may face. The engine keeps the boards and referees every
// shot; the opponent decides where its fleet goes and where it fires, from the results of its own
// shots alone (TSeaView), never from the board it fires at.
#include <array>
#include <optional>

#include "Common/Types.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/Rules.h"
#include "GameEngine/SeaView.h"

namespace kravelon {

// A ship's first (leftmost or topmost) cell and its way.
struct TShipPlacement {
  TPoint At;
  bool Horizontal = true;
  friend bool operator==(const TShipPlacement&, const TShipPlacement&) = default;
};
// A whole fleet, in placement order (ShipSizes).
using TFleetPlan = std::array<TShipPlacement, FleetShips>;

class TOpponent {
 public:
  virtual ~TOpponent() = default;
  // A game begins, played by these rules: what the last one taught is forgotten.
  virtual void NewGame(const TRules& rules) = 0;
  // Where its fleet goes, asked once the user's fleet stands. None: the engine arranges it at
  // random, a ship an idle step, as the user's "arrange" does.
  virtual std::optional<TFleetPlan> PlanFleet() = 0;
  // One idle step of its turn: the cell it fires at, or none while it is still deciding.
  virtual std::optional<TPoint> TurnStep(const TSeaView& sea) = 0;
  // What that shot did; `sea` already shows it.
  virtual void ShotAnswered(TPoint cell, TShotResult result, const TSeaView& sea) = 0;
};

}  // namespace kravelon
