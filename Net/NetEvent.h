#pragma once
// What the network game tells the game's thread: one event kind at a time, with the fields that
// kind uses. The texts for the player come from CloseText and CheatText, on the game's thread.
#include <cstdint>
#include <string>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/Rules.h"
#include "Net/Protocol.h"

namespace kravelon {

enum class TNetEventKind {
  Listening,             // hosting: Port listens (the real one when 0 was asked for)
  HostFailed,            // hosting could not start: Port, Detail
  Connected,             // a connection is up: Address, the peer's
  Opponent,              // greetings exchanged and the rules known: Name, Rules; place a fleet
  PeerPlaced,            // the opponent has committed to its fleet
  Turn,                  // a turn begins: Mine, Shots (1, or the salvo's size)
  ShotAt,                // the opponent fired at Cell of our board; Result is our answer, sent
  Result,                // our shot at Cell came back with Result
  GameOver,              // after "won": Won, whether we won; the opponent's reveal is still due
  Verified,              // the opponent's reveal passed every check: Fleet, its ships
  Cheat,                 // a check failed: Cheat, Fault, Cell; the game is void (Closed follows)
  PeerAgain,             // the opponent wants another game
  NewGame,               // both want one: place a fleet again, same rules, the host fires first
  Closed,                // the connection is over: Close, ByPeer, PeerLeft; always its last event
  DiscoveryUnavailable,  // no announcing or browsing on the local network: Detail (said once)
  GamesFound,            // the games announced on the local network now: Games
};

// Which check a revealed fleet, or a result, failed.
enum class TCheatReason {
  Commitment,  // the revealed fleet is not the one committed to
  Fleet,       // the fleet breaks the rules: Fault says how
  Result,      // the answer to our shot at Cell does not match the fleet
  Tally,       // the answers so far cannot come from any fleet of ten
};

enum class TCloseReason {
  Quit,           // a side left (BYE quit); ByPeer false when it was us
  Restart,        // a side left to start another game (BYE restart)
  Version,        // the sides speak different versions of the protocol
  Protocol,       // a message broke the protocol: the opponent's (ByPeer false) or, it says, ours
  Timeout,        // silence past the limit: the opponent's (ByPeer false) or, it says, ours
  Busy,           // the host has a game already
  Cheat,          // see the Cheat event (ByPeer false), or the opponent says we cheated
  Lost,           // the connection dropped with no BYE
  ConnectFailed,  // joining failed: Detail
};

// A game announced on the local network.
struct TFoundGame {
  std::string Name;     // the host player's name
  std::string Address;  // numeric, to join
  std::uint16_t Port = DefaultPort;
  friend bool operator==(const TFoundGame&, const TFoundGame&) = default;
};

struct TNetEvent {
  TNetEventKind Kind = TNetEventKind::Closed;
  std::uint16_t Port = 0;
  std::string Address;
  std::string Name;
  TRules Rules;
  bool Mine = false;
  int Shots = 0;
  TPoint Cell;
  TShotAnswer Result = TShotAnswer::Miss;
  bool Won = false;
  std::vector<TShip> Fleet;
  TCheatReason Cheat = TCheatReason::Commitment;
  TFleetFault Fault = TFleetFault::None;
  TShotAnswer Said = TShotAnswer::Miss;  // Cheat by Result: what the opponent answered
  TCloseReason Close = TCloseReason::Quit;
  bool ByPeer = false;
  bool PeerLeft = false;  // the opponent left a game without revealing its fleet
  std::string Detail;     // for the log, untranslated: what broke the protocol, the system's words
  std::vector<TFoundGame> Games;
};

// Which check failed, as a clause for the player ("the answer to the shot at Д5 does not match
// its fleet"), for the window's "The opponent cheated" line.
std::string CheatText(const TNetEvent& event);

// Why the connection closed, for the player: a sentence, and one more when the opponent left a
// game without showing its fleet.
std::string CloseText(const TNetEvent& event);

// What could not be done, for the player: hosting (HostFailed) or discovery
// (DiscoveryUnavailable).
std::string FailureText(const TNetEvent& event);

}  // namespace kravelon
