#pragma once
// One connection's game, by the protocol, with no sockets and no threads: lines heard and the
// player's commands go in; lines to send and events come out. It checks the order of messages
// and the turns of both sides, answers the opponent's shots from our own committed fleet, and
// checks the opponent's fleet when it is revealed. Anything out of place ends it with BYE.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Board.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/Rules.h"
#include "Net/NetEvent.h"
#include "Net/Protocol.h"

namespace kravelon {

enum class TRole { Host, Guest };

enum class TPhase {
  Greeting,  // waiting for the opponent's greeting
  Rules,     // the guest, waiting for the host's rules
  Placing,   // fleets being committed
  Battle,
  Ended,   // after "won": reveals, then perhaps another game
  Closed,  // BYE sent or heard, or the connection gone: nothing more goes in or out
};

class TSession {
 public:
  // `rules` are the host's; a guest plays by what the host sends.
  TSession(TRole role, std::string name, const TRules& rules = {});

  // Our greeting: the first line on a new connection.
  void Start();

  // --- What the connection hears ---
  void Heard(std::string_view line);  // one line, without its "\n"
  void HeardTooLong();                // a line ran past MaxLineBytes
  void PeerGone();                    // the connection dropped
  void Silent();                      // nothing heard for the silence limit

  // --- The player's commands: false, and nothing sent, when not allowed now ---
  // A legal fleet under the rules, while placing, once a game; `salt` as MakeSalt gives it.
  bool PlaceFleet(const std::vector<TShip>& fleet, const std::string& salt);
  // On our turn, at a cell not fired at yet this game, once the last shot has its answer.
  bool Shoot(TPoint cell);
  // After the end of a game.
  bool Again();
  // Reveals our fleet when a game is on, then BYE with `reason` (Quit or Restart).
  void Leave(TByeReason reason);

  // --- What comes out ---
  std::vector<std::string> TakeLines();  // to send, in order, without "\n"
  std::vector<TNetEvent> TakeEvents();

  TPhase Phase() const { return CurrentPhase; }
  bool Closed() const { return CurrentPhase == TPhase::Closed; }
  bool MyTurn() const { return Game.MyTurn; }
  int ShotsLeft() const { return Game.ShotsLeft; }
  const TRules& Rules() const { return GameRules; }
  const std::string& PeerName() const { return Opponent; }

 private:
  // The ships of one fleet as shots find them: which ship each cell holds, how many of each are
  // hit.
  class TTarget {
   public:
    explicit TTarget(const std::vector<TShip>& fleet);
    TShotAnswer Fire(TPoint cell);  // a cell not fired at before

   private:
    std::vector<TShip> Ships;
    std::array<int, 10> HitCells{};
    int Sunk = 0;
  };

  struct TGame {
    std::vector<TShip> OwnFleet;
    std::string OwnSalt;
    bool OwnCommitted = false, OwnRevealed = false, OwnAgain = false;
    std::string PeerCommitment;
    bool PeerCommitted = false, PeerRevealed = false, PeerAgain = false;
    bool PeerLeaving = false;  // revealed before the end: only BYE may follow
    bool MyTurn = false;
    int ShotsLeft = 0;
    std::optional<TPoint> Pending;  // our shot waiting for its answer
    std::array<std::array<bool, BoardSize>, BoardSize> FiredAtPeer{}, FiredAtUs{};
    std::vector<std::pair<TPoint, TShotAnswer>> OurShots;  // with the opponent's answers
    int PeerHits = 0, PeerSunk = 0;                        // as the opponent's answers count them
    int OwnSunk = 0;
    std::optional<TTarget> OwnTarget;
  };

  void Send(const TMessage& message);
  void Post(TNetEvent event);
  void Close(TCloseReason reason, bool byPeer, std::string detail = {});
  void Violation(std::string detail);  // BYE protocol
  void Caught(TNetEvent cheat);        // BYE cheat
  bool PeerLeftGame() const;

  void OnGreeting(const TMessage& message);
  void OnShot(TPoint cell);
  void OnResult(const TMessage& message);
  void OnReveal(const TMessage& message);
  void OnAgain();
  void StartBattleIfReady();
  void AfterShot(TShotAnswer result);
  void EndGame(bool won);
  void RevealOwn();
  void NewGame();

  TRole Role;
  std::string Name;
  TRules GameRules;
  std::string Opponent;
  TPhase CurrentPhase = TPhase::Greeting;
  TGame Game;
  std::vector<std::string> Lines;
  std::vector<TNetEvent> Events;
};

}  // namespace kravelon
