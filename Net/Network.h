#pragma once
// The network game, as the game's window drives it. Everything network happens on one thread of
// this object's own; the window's thread only hands it commands (queued, never waited for) and
// receives events through the poster, which Main/ sets to the toolkit's TApplication::Post, so
// every event arrives on the game's thread, in order.
//
// Use, all on the game's thread:
//   TNetwork net(config, [](std::function<void()> work) { return TApplication::Post(work); },
//                [this](const TNetEvent& event) { OnNetEvent(event); });
//   net.Host(DefaultPort);              // Listening, then Connected, Opponent when a guest comes
//   net.Join("192.168.1.20", 41740);    // Connected, Opponent (or Closed: ConnectFailed)
//   // On Opponent (or NewGame): place the fleet by event.Rules, then
//   net.PlaceFleet(FleetOnBoard(engine, sdUser));  // (GameEngine.h); Turn once both are committed
//   // On Turn with Mine (and after each Result that keeps the turn): net.Shoot({column, row});
//   // Result answers our shot; ShotAt tells the opponent's (answered already from our fleet).
//   // GameOver, then Verified (or Cheat: the game is void); net.Again() for another game.
//   net.Leave();                        // reveals our fleet if a game is on, BYE quit
// Closed is always a connection's last event; CloseText and CheatText give the player's words.
// A command that is not allowed at the moment (a shot out of turn, a second fleet) is ignored.
// Destroying the object leaves the game (BYE quit) and joins the thread within about half a
// second; no event is delivered after the destructor has begun.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/Rules.h"
#include "Net/NetEvent.h"
#include "Net/Protocol.h"

namespace kravelon {

// Hands work to the game's thread; false when it could not (the event is offered again shortly).
using TPoster = std::function<bool(std::function<void()>)>;
using TNetHandler = std::function<void(const TNetEvent&)>;

struct TNetConfig {
  std::string Name = "player";  // ours, as PlayerName gives it
  TRules Rules;                 // the rules we host by (a guest plays by the host's)
  // How long the opponent may stay silent before we close; we ping it after a third of that.
  std::chrono::milliseconds Silence{30000};
  // Where hosting listens: empty for every interface (IPv6 and IPv4); the tests use "127.0.0.1".
  std::string ListenAddress;
  // Announce hosted games and allow browsing through Avahi.
  bool Discovery = true;
};

class TNetwork {
 public:
  TNetwork(TNetConfig config, TPoster poster, TNetHandler handler);
  ~TNetwork();
  TNetwork(const TNetwork&) = delete;
  TNetwork& operator=(const TNetwork&) = delete;

  // Listens on `port` (0: any free port, told in Listening) and announces the game; the first
  // guest plays, any other one while a game is on hears BYE busy. After a game's connection
  // closes the next guest may come, until StopHosting.
  void Host(std::uint16_t port);
  void StopHosting();
  // The rules a guest who arrives from now on plays by, in place of the configuration's.
  void SetRules(const TRules& rules);
  // Connects to `host` (a name or an address) at `port`, if no game is on.
  void Join(const std::string& host, std::uint16_t port);
  // Commits to a legal fleet for this game (a fresh salt is drawn here).
  void PlaceFleet(const std::vector<TShip>& fleet);
  void Shoot(TPoint cell);
  void Again();
  // Leaves the game on: reveals our fleet if one is committed, says BYE with `reason` (Quit or
  // Restart) and closes; a connection still being made is dropped.
  void Leave(TByeReason reason = TByeReason::Quit);
  // Browsing the local network for games: GamesFound each time the list changes.
  void Browse(bool on);

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
  std::shared_ptr<bool> Alive;  // false once the destructor has begun: events are dropped
};

}  // namespace kravelon
