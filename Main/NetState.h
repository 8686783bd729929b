#pragma once
// What the main window knows of the network game: whether it hosts, the connection and the game
// against the player at its other end. What the window does with it is in NetGame.cpp.
#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "GameEngine/Rules.h"
#include "GameEngine/Sides.h"
#include "Net/Network.h"

namespace kravelon {

// The one connection the window has at a time.
enum class TLink {
  None,       // no connection
  Joining,    // connecting to a host, or a guest's greeting awaited
  Connected,  // greetings exchanged: a game against the player is on or just over
  Leaving,    // we said goodbye; its last event is still to come, and nothing else counts
};

struct TNetState {
  // Made at the first host, join or search, and kept for the run: its thread sleeps while
  // nothing happens. The window's shut-down ends it first of all, saying goodbye to the player.
  std::unique_ptr<TNetwork> Network;
  bool Hosting = false;    // the player asked to host (the listener may still be starting)
  std::uint16_t Port = 0;  // where the game listens, once it does
  TLink Link = TLink::None;
  bool Hosted = false;  // the connection came to our listener (we are the host)
  std::string Peer;     // the opponent's name, fit to show
  std::string PeerAddress;
  TRules Rules;     // the connection's: the host's
  TRules OwnRules;  // the player's own, for the games against the computer after it

  // The game against the player.
  bool PeerPlaced = false;
  bool BattleBegun = false;     // both fleets committed: from here the game is recorded
  std::optional<TSide> Winner;  // the engine's end of the game
  bool Recorded = false;        // its outcome is in the record
  bool OwnAgain = false, PeerAgain = false;
  bool Warned = false;  // a box about this connection's end was shown already

  // Searching the local network.
  bool Browsing = false;
  std::chrono::steady_clock::time_point BrowsingSince;
  std::vector<TFoundGame> Games;
  std::string DiscoveryProblem;  // why there is no search, once said

  // Events wait here while a menu or a box is open, and while one is being handled.
  std::deque<TNetEvent> Backlog;
  bool Handling = false;
};

}  // namespace kravelon
