#pragma once
// The game engine: both boards, the game state and the rules. No SDL, no drawing: whatever the
// rules set off outside goes through TGameHost.
#include <array>
#include <cstdint>
#include <string_view>

#include "GameEngine/Board.h"
#include "GameEngine/GameHost.h"
#include "GameEngine/RandomSource.h"
#include "Common/Types.h"

namespace kravelon {

enum TGameState : std::int32_t { gsPlacing = 1, gsBattle = 2, gsReport = 3 };

// One sector. Water is (Empty 1, Fired 0), a miss (1, 1), an intact segment (0, 0), a hit (0, 1).
struct TCell {
  std::uint8_t Empty = 1;
  std::uint8_t Fired = 0;
  std::int32_t ShipNo = 0;    // ordinal of the ship in placement order; 0 on water
  std::int32_t Segment = 0;   // index from the ship's first (leftmost or topmost) cell
  std::int32_t Excluded = 0;  // known to hold no ship; only the computer's targeting reads it
};

// The engine's two idle steps, as the application's idle slot holds them.
enum class TIdleStep { None, Arrange, ComputerTurn };

// The step the slot holds after a fleet is complete (the computer arranges its own after the
// user's; the battle needs none), and after a miss hands the turn to `side`.
constexpr TIdleStep StepAfterFleet(TSide side) {
  return side == sdUser ? TIdleStep::Arrange : TIdleStep::None;
}
constexpr TIdleStep StepAfterTurn(TSide side) {
  return side == sdComputer ? TIdleStep::ComputerTurn : TIdleStep::None;
}

// Directions of the computer's line following; 0 and 3, 1 and 2 are opposites.
enum TDirection : std::int32_t { dirUp = 0, dirLeft = 1, dirRight = 2, dirDown = 3 };

class TGameEngine {
 public:
  static constexpr int FleetShips = 10;
  static constexpr int FleetSegments = 20;
  // Placement order, largest first; the next ship is ShipSizes[10 - ShipsToPlace].
  static constexpr std::array<std::int32_t, FleetShips> ShipSizes{4, 3, 3, 2, 2, 2, 1, 1, 1, 1};

  // A null host does nothing; a null random source means the engine's own, seeded from the
  // system's entropy, so that two copies started together never play the same game.
  explicit TGameEngine(TGameHost* host = nullptr, TRandomSource* random = nullptr);
  TGameEngine(const TGameEngine&) = delete;
  TGameEngine& operator=(const TGameEngine&) = delete;

  // --- Boards, fleet and game state ---
  // Off the board: the ring just outside reads as water, fired only in battle; anything further
  // out, or a board other than 0 and 1, reads as fired water in every state.
  TCell ReadCell(int column, int row, int board) const {
    if (board != 0 && board != 1) return TCell{1, 1, 0, 0, 0};
    if (OnBoard(column, row)) return Cells[column][row][board];
    if (column == -1 || column == BoardSize || row == -1 || row == BoardSize) {
      return TCell{1, static_cast<std::uint8_t>(CurrentState == gsBattle ? 1 : 0), 0, 0, 0};
    }
    return TCell{1, 1, 0, 0, 0};
  }
  void WriteCell(int column, int row, int board, const TCell& cell) {
    if ((board == 0 || board == 1) && OnBoard(column, row)) Cells[column][row][board] = cell;
  }

  void NewGame();
  void ToggleOrientation(int side);
  void SetOrientation(bool horizontal);
  void StrikeSize(int size);
  bool CanBeLonger(int hits) const;
  bool AllSunk(int board) const;
  bool Fire(int column, int row);  // one shot of the active side; true on a hit
  // Fire, and tell the host of the shot and of what follows: the end of the game, or on a miss
  // the turn passing. Returns whether it hit.
  bool Shoot(int column, int row);

  TGameState State() const { return static_cast<TGameState>(CurrentState); }
  // Whose turn it is: who places a ship, or who fires.
  TSide ActiveSide() const { return static_cast<TSide>(CurrentSide); }
  int ShipsLeft() const { return ShipsToPlace; }  // of the active side's fleet, still to place
  bool GameOver() const { return FleetSunk != 0; }
  // Length of the next ship of the active side; 0 when its fleet is complete.
  int NextShipSize() const;
  bool IsHorizontal() const {
    return (CurrentSide != sdUser ? ComputerAcross : UserAcross) != 0;
  }
  // The shots each side fired in this game and how many hit: the tally of a finished game, and
  // the computer's hit percentage the statistics window shows.
  int Shots(TSide shooter) const { return ShotCount[static_cast<std::size_t>(shooter)]; }
  int Hits(TSide shooter) const { return HitTally[static_cast<std::size_t>(shooter)]; }
  int ComputerShots() const { return Shots(sdComputer); }
  int ComputerHits() const { return Hits(sdComputer); }

  // --- Placement and the automatic arrangement (on the active side's own board) ---
  bool CanPlace(int column, int row, int length) const;
  void PlaceShip(int column, int row);  // the caller has asked CanPlace first
  void ArrangeStep(bool& done);         // idle step: one step per call, never done

  // --- The computer's shooting (at board 0) ---
  void ComputerTurnStep(bool& done);  // idle step: one step per call, never done
  void BuildCandidates();
  // What the last search saw: the placement counts [row][column] and the cells it drew from.
  const auto& Heat() const { return HeatMap; }
  const auto& Candidates() const { return CandidateCells; }
  int CandidateCount() const { return CandidatesFound; }
  // The computer's belief about the user's ships afloat: a size is struck (set to 0) when the
  // computer concludes it has sunk a ship of that size.
  const auto& FleetLeft() const { return Afloat; }
  int AiStep() const { return Step; }
  const auto& DirOrder() const { return DirectionOrder; }

 private:
  // Tests and the simulator set up positions through this seam (GameEngineProbe.h); the game
  // itself changes the state only through the calls above.
  friend struct TGameEngineProbe;

  void Log(std::string_view text);
  void StepTarget();  // one step of following a hit along a line
  static bool OnBoard(int column, int row) {
    return static_cast<unsigned>(column) < BoardSize && static_cast<unsigned>(row) < BoardSize;
  }
  // The user's board as the computer's routines see it: every cell off the board is blocked,
  // whatever the state, so a search gives the same counts in any state it is asked in.
  TCell TargetView(int column, int row) const {
    return OnBoard(column, row) ? Cells[column][row][sdUser] : TCell{1, 1, 0, 0, 0};
  }
  std::uint32_t Draw() { return Random->Next(); }
  void EndGame(TSide winner);

  // Working state of the automatic routines.
  std::int32_t Step = 0;
  std::int32_t TargetColumn = 0;
  std::int32_t TargetRow = 0;

  std::uint8_t UserAcross = 0;
  std::uint8_t ComputerAcross = 0;
  std::int32_t CurrentSide = sdUser;
  std::int32_t CurrentState = gsPlacing;
  std::int32_t ShipsToPlace = FleetShips;

  std::int32_t DirIndex = 0;
  std::int32_t HitCount = 0;
  std::int32_t Reversals = 0;
  std::int32_t AnchorColumn = 0;
  std::int32_t AnchorRow = 0;

  std::uint8_t FleetSunk = 0;

  std::array<std::int32_t, FleetShips> Afloat = ShipSizes;
  std::array<std::int32_t, 2> ShotCount{};  // by shooter
  std::array<std::int32_t, 2> HitTally{};

  // Order in which the computer tries directions from a first hit; shuffled at every search.
  std::array<std::int32_t, 4> DirectionOrder{dirUp, dirLeft, dirRight, dirDown};
  // Number of possible placements covering each cell, indexed [row][column].
  std::array<std::array<std::int32_t, BoardSize>, BoardSize> HeatMap{};
  // The cells a search draws from (X = column, Y = row), row-major.
  std::array<TPoint, BoardSize * BoardSize> CandidateCells{};
  std::int32_t CandidatesFound = 0;

  TCell Cells[BoardSize][BoardSize][2];  // [column][row][board]
  // BuildCandidates' placement counts per run length, for the belief in CoverFleet.
  std::array<std::array<std::int32_t, BoardSize>, BoardSize + 1> Cover{};
  std::array<std::int32_t, FleetShips> CoverFleet{};
  bool CoverValid = false;
  TGameHost* Host;
  TNullGameHost NullHost;
  TPcg32 OwnRandom;
  TRandomSource* Random;
};

}  // namespace kravelon
