#pragma once
// The game engine: both boards, the game state and the rules. No SDL, no drawing: whatever the
// rules set off outside goes through TGameHost.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Board.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/GameHost.h"
#include "GameEngine/Level.h"
#include "GameEngine/Opponent.h"
#include "GameEngine/RandomSource.h"
#include "GameEngine/Rules.h"
#include "GameEngine/SeaView.h"

namespace kravelon {

enum TGameState : std::int32_t { gsPlacing = 1, gsBattle = 2, gsReport = 3 };

// One sector. Water is (Empty 1, Fired 0), a miss (1, 1), an intact segment (0, 0), a hit (0, 1).
struct TCell {
  std::uint8_t Empty = 1;
  std::uint8_t Fired = 0;
  // Ordinal of the ship in placement order; 0 on water. UnknownShip on a remote player's board:
  // a hit whose ship has not sunk yet, so nobody here knows which ship it is.
  std::int32_t ShipNo = 0;
  std::int32_t Segment = 0;  // index from the ship's first (leftmost or topmost) cell
};

inline constexpr std::int32_t UnknownShip = -1;

// The engine's two idle steps, as the application's idle slot holds them.
enum class TIdleStep { None, Arrange, ComputerTurn };

// The step the slot holds after a fleet is complete (the computer arranges its own after the
// user's; the battle needs none), and after the turn passes to `side`.
constexpr TIdleStep StepAfterFleet(TSide side) {
  return side == sdUser ? TIdleStep::Arrange : TIdleStep::None;
}
constexpr TIdleStep StepAfterTurn(TSide side) {
  return side == sdComputer ? TIdleStep::ComputerTurn : TIdleStep::None;
}

class TGameEngine {
 public:
  static constexpr int FleetShips = kravelon::FleetShips;
  static constexpr int FleetSegments = kravelon::FleetSegments;
  // Placement order, largest first; the next ship is ShipSizes[10 - ShipsToPlace].
  static constexpr std::array<std::int32_t, FleetShips> ShipSizes = kravelon::ShipSizes;

  // A null host does nothing; a null random source means the engine's own, seeded from the
  // system's entropy, so that two copies started together never play the same game.
  explicit TGameEngine(TGameHost* host = nullptr, TRandomSource* random = nullptr);
  TGameEngine(const TGameEngine&) = delete;
  TGameEngine& operator=(const TGameEngine&) = delete;

  // --- Boards, fleet and game state ---
  // Off the board: the ring just outside reads as water, fired only in battle; anything further
  // out, or a board other than 0 and 1, reads as fired water in every state.
  TCell ReadCell(int column, int row, int board) const {
    if (board != 0 && board != 1) return TCell{1, 1, 0, 0};
    if (OnBoard(column, row)) return Cells[column][row][board];
    if (column == -1 || column == BoardSize || row == -1 || row == BoardSize) {
      return TCell{1, static_cast<std::uint8_t>(CurrentState == gsBattle ? 1 : 0), 0, 0};
    }
    return TCell{1, 1, 0, 0};
  }
  void WriteCell(int column, int row, int board, const TCell& cell) {
    if ((board == 0 || board == 1) && OnBoard(column, row)) Cells[column][row][board] = cell;
  }

  void NewGame();
  void ToggleOrientation(int side);
  void SetOrientation(bool horizontal);
  bool AllSunk(int board) const;
  // One shot of the active side; true on a hit. The turn passes as the game's rules say: after
  // a miss; after every shot with the extra shot off; after a salvo's last shot with salvo on.
  // The winner keeps the turn.
  bool Fire(int column, int row);
  // Fire, and tell the host of the shot and of what follows: the end of the game, or the turn
  // passing. Returns whether it hit.
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
  int Shots(TSide shooter) const { return Sea(shooter).Shots(); }
  int Hits(TSide shooter) const { return Sea(shooter).Hits(); }
  int ComputerShots() const { return Shots(sdComputer); }
  int ComputerHits() const { return Hits(sdComputer); }
  // The ships of `side` not yet sunk.
  int FleetAfloat(TSide side) const {
    return FleetShips - static_cast<int>(Sea(side == sdUser ? sdComputer : sdUser).Sunk().size());
  }

  // --- The house rules ---
  // The rules of the next game; the game under way keeps the rules it began with.
  void SetRules(const TRules& rules) { ChosenRules = rules; }
  const TRules& NextRules() const { return ChosenRules; }
  const TRules& Rules() const { return GameRules; }
  // With salvo on, the active side's salvo in battle: the shots it began with (its ships afloat
  // when its turn began) and the shots left of them; 0 under the other rules.
  int SalvoShots() const { return GameRules.Salvo ? SalvoSize : 0; }
  int SalvoShotsLeft() const { return GameRules.Salvo ? SalvoLeft : 0; }

  // --- Placement and the automatic arrangement (on the active side's own board) ---
  bool CanPlace(int column, int row, int length) const;
  void PlaceShip(int column, int row);  // the caller has asked CanPlace first
  void ArrangeStep(bool& done);         // idle step: one step per call, never done
  int ArrangePhase() const { return Phase; }  // 0: the next step draws a cell

  // --- The computer (at board 0): its level, its shooting ---
  // The level of the next game; the game under way keeps the level it began with.
  void SetLevel(TLevel level) { ChosenLevel = level; }
  TLevel NextLevel() const { return ChosenLevel; }
  TLevel Level() const { return CurrentLevel; }
  void ComputerTurnStep(bool& done);  // idle step: one step per call, never done
  // What `shooter` has learnt of the other side's board: all a level ever reads of it.
  const TSeaView& Sea(TSide shooter) const { return Seas[shooter == sdComputer ? 1 : 0]; }

  // --- A player across the network at board 1 (GameEngineRemote.cpp) ---
  // Whether the next game is played against a remote player instead of the computer. Board 1
  // then holds only what our shots learnt from the player's answers, until its fleet is revealed;
  // its fleet is placed and its shots are chosen on the other side, and the window brings them.
  void SetRemote(bool remote) { RemoteChosen = remote; }
  bool Remote() const { return RemoteGame; }
  // Both fleets are committed: the battle begins, `userFirst` whether the user fires first.
  void BeginRemoteBattle(bool userFirst);
  // The user's shot at board 1, sent to be answered: false, and nothing changes, when it may not
  // be fired now (not in battle, not the user's turn, a shot awaiting its answer, a cell fired at).
  bool AimRemote(int column, int row);
  std::optional<TPoint> AwaitedShot() const { return Awaited; }
  // The answer to the shot awaited, as the player gave it: the shot is fired and told like any.
  void AnswerRemote(TShotResult result);
  // The player's shot at the user's board, fired and told like the computer's.
  void ShootRemote(int column, int row);
  // The player's fleet, revealed once its game is over: its ships stand on board 1 under the
  // shots as they fell, and the ones never found show on the final boards.
  void RevealRemoteFleet(const std::vector<TShip>& fleet);
  bool RemoteFleetRevealed() const { return RemoteRevealed; }

 private:
  // Tests and the simulator set up positions through this seam (GameEngineProbe.h); the game
  // itself changes the state only through the calls above.
  friend struct TGameEngineProbe;

  void Log(std::string_view text);
  static bool OnBoard(int column, int row) { return TSeaView::OnBoard(column, row); }
  std::uint32_t Draw() { return Random->Next(); }
  TShotResult Strike(int column, int row);        // Fire, telling a hit that sinks a ship apart
  TShotResult ShootAndTell(int column, int row);  // Shoot, likewise
  // `side` begins its turn: with salvo on, its salvo is as many shots as it has ships afloat.
  void BeginTurn(TSide side);
  // The shooter at `board` learns what its shot at the cell found; a ship whose last segment
  // was hit is sunk, all its cells at once.
  void Reveal(int board, int column, int row);
  TSeaView& SeaAt(int board) { return Seas[board == sdUser ? 1 : 0]; }
  bool PlaceFromPlan();
  void EndGame(TSide winner);
  void ResetRemote();                        // a new game, remote or not
  void RevealAnswer(int column, int row);    // Reveal on a remote board, from the answer

  // Working state of the arrangement.
  std::int32_t Phase = 0;
  std::int32_t TargetColumn = 0;
  std::int32_t TargetRow = 0;
  bool PlanPending = false;             // the computer's arrangement is yet to begin
  std::optional<TFleetPlan> FleetPlan;  // the opponent's own arrangement, while it is placed

  std::uint8_t UserAcross = 0;
  std::uint8_t ComputerAcross = 0;
  std::int32_t CurrentSide = sdUser;
  std::int32_t CurrentState = gsPlacing;
  std::int32_t ShipsToPlace = FleetShips;

  std::uint8_t FleetSunk = 0;

  TCell Cells[BoardSize][BoardSize][2];  // [column][row][board]
  // What each shooter knows of the board it fires at: [0] the user's, at board 1; [1] the
  // computer's, at board 0. The tally of a game is kept there too.
  std::array<TSeaView, 2> Seas{};
  TGameHost* Host;
  TNullGameHost NullHost;
  TPcg32 OwnRandom;
  TRandomSource* Random;
  TRules ChosenRules;          // the next game's
  TRules GameRules;            // this game's
  std::int32_t SalvoSize = 0;  // the active side's salvo: the shots it began with
  std::int32_t SalvoLeft = 0;  // and the shots left of them
  TLevel ChosenLevel = DefaultLevel;
  TLevel CurrentLevel = DefaultLevel;
  std::unique_ptr<TOpponent> Opponent;  // the computer at CurrentLevel; kept while it stays
  bool RemoteChosen = false;            // the next game's opponent is across the network
  bool RemoteGame = false;              // and this game's
  std::optional<TPoint> Awaited;        // the user's shot at a remote board, before its answer
  TShotResult Answer = srMiss;          // the answer being fired
  std::int32_t RemoteSunk = 0;          // the remote ships sunk: the next one's ordinal
  bool RemoteRevealed = false;          // the remote fleet stands on board 1
};

// The active side's salvo as the status line shows it, "Залп: 3 из 7"; empty unless a salvo
// game is in battle.
std::string SalvoStatus(const TGameEngine& engine);

// The ships on one board of the engine (0 the user's, 1 the computer's), bow first, as placed.
std::vector<TShip> FleetOnBoard(const TGameEngine& engine, int board);

}  // namespace kravelon
