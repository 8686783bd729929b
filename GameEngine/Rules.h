#pragma once
// The house rules a game is played by. The defaults are the game's own rules: ships never touch,
// one shot at a time, and a hit lets the shooter fire again.
namespace kravelon {

struct TRules {
  bool Touching = false;   // ships may touch at sides and corners (never overlap)
  bool Salvo = false;      // a side fires as many shots a turn as it has ships afloat
  bool ExtraShot = true;   // a hit keeps the turn (no effect with salvo on)
  bool operator==(const TRules&) const = default;
};

}  // namespace kravelon
