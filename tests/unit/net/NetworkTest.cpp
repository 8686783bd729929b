// The connection layer over 127.0.0.1 against the scripted opponent (tests/support, written from
// docs/PROTOCOL.md): every line of the protocol's table, every hostile case answered with BYE and
// survived, silence, a vanished opponent, a crowd of guests, lies, and two games of ours playing
// each other.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GameEngine/Board.h"
#include "Net/FleetText.h"
#include "NetFixture.h"
#include "tests/support/ScriptedPeer.h"

namespace kravelon {

namespace {

// Rows 1, 3 and 5, gaps everywhere: the fleet of ours the scripted opponent shoots at.
std::vector<TShip> OurFleet() {
  return {{0, 0, true, 4}, {5, 0, true, 3}, {0, 2, true, 3}, {4, 2, true, 2}, {7, 2, true, 2},
          {0, 4, true, 2}, {3, 4, true, 1}, {5, 4, true, 1}, {7, 4, true, 1}, {9, 4, true, 1}};
}
const char* const OurFleetText = "A1h4 F1h3 A3h3 E3h2 H3h2 A5h2 D5h1 F5h1 H5h1 J5h1";

TPoint Cell(const std::string& text) { return *ParseCell(text); }

// A scripted guest that has connected and greeted, and heard the default rules.
TScriptedPeer GreetedGuest(std::uint16_t port) {
  TScriptedPeer peer = TScriptedPeer::Connect(port);
  EXPECT_EQ(peer.ReadLine(), "KRAVELON 1 anna");
  peer.Send("KRAVELON 1 boris");
  EXPECT_EQ(peer.ReadLine(), "RULES touching=no salvo=no extra-shot=yes");
  return peer;
}

// Both fleets committed: the host (ours) to fire. Returns our commitment as the guest read it.
std::string StartBattle(TPlayer& host, TScriptedPeer& peer, const TPeerFleet& fleet) {
  host.Net->PlaceFleet(OurFleet());
  const std::optional<std::string> line = peer.ReadLine();
  EXPECT_TRUE(line && line->rfind("FLEET ", 0) == 0) << line.value_or("(nothing)");
  peer.Send(fleet.FleetLine());
  const std::optional<TNetEvent> turn = host.Game.WaitFor(TNetEventKind::Turn);
  EXPECT_TRUE(turn && turn->Mine);
  return line ? line->substr(6) : "";
}

// Our shot, answered by the peer as `answer` says (the truth unless told otherwise).
TNetEvent ShootAt(TPlayer& player, TScriptedPeer& peer, const std::string& cell,
                  const std::string& answer) {
  player.Net->Shoot(Cell(cell));
  EXPECT_EQ(peer.ReadLine(), "SHOT " + cell);
  peer.Send("RESULT " + cell + " " + answer);
  const std::optional<TNetEvent> result = player.Game.WaitFor(TNetEventKind::Result);
  EXPECT_TRUE(result);
  return result.value_or(TNetEvent{});
}

TEST(Network, HostsAWholeGameWithTheScriptedGuestLineByLine) {
  TPlayer host(TestConfig("anna"));
  TScriptedPeer peer = GreetedGuest(host.Host());
  const std::optional<TNetEvent> connected = host.Game.WaitFor(TNetEventKind::Connected);
  ASSERT_TRUE(connected);
  EXPECT_EQ(connected->Address, "127.0.0.1");
  const std::optional<TNetEvent> opponent = host.Game.WaitFor(TNetEventKind::Opponent);
  ASSERT_TRUE(opponent);
  EXPECT_EQ(opponent->Name, "boris");
  TPeerFleet fleet;
  const std::string commitment = StartBattle(host, peer, fleet);
  ASSERT_EQ(commitment.size(), 64u);

  // A miss passes the turn; the guest's hit keeps it, its miss hands it back.
  EXPECT_EQ(ShootAt(host, peer, "E5", fleet.Answer("E5")).Result, TShotAnswer::Miss);
  peer.Send("SHOT A1");
  EXPECT_EQ(peer.ReadLine(), "RESULT A1 hit");
  peer.Send("SHOT E5");
  EXPECT_EQ(peer.ReadLine(), "RESULT E5 miss");
  const std::optional<TNetEvent> shotAt = host.Game.WaitFor(TNetEventKind::ShotAt);
  ASSERT_TRUE(shotAt);
  EXPECT_EQ(shotAt->Cell, Cell("A1"));
  EXPECT_EQ(shotAt->Result, TShotAnswer::Hit);
  std::optional<TNetEvent> turn = host.Game.WaitFor(TNetEventKind::Turn);
  ASSERT_TRUE(turn && !turn->Mine);
  ASSERT_TRUE((turn = host.Game.WaitFor(TNetEventKind::Turn)) && turn->Mine);
  peer.Send("PING");
  EXPECT_EQ(peer.ReadLine(), "PONG");

  // Every cell of the guest's fleet: the last one wins.
  for (const std::string& cell : fleet.Cells()) ShootAt(host, peer, cell, fleet.Answer(cell));
  const std::optional<TNetEvent> over = host.Game.WaitFor(TNetEventKind::GameOver);
  ASSERT_TRUE(over);
  EXPECT_TRUE(over->Won);
  // Our reveal matches our commitment, by the page's own arithmetic.
  const std::optional<std::string> reveal = peer.ReadLine();
  ASSERT_TRUE(reveal && reveal->rfind("REVEAL ", 0) == 0);
  EXPECT_EQ(PeerSha256(reveal->substr(7)), commitment);
  EXPECT_EQ(reveal->substr(7 + 33), OurFleetText);
  peer.Send(fleet.RevealLine());
  const std::optional<TNetEvent> verified = host.Game.WaitFor(TNetEventKind::Verified);
  ASSERT_TRUE(verified);
  EXPECT_EQ(FleetText(verified->Fleet), fleet.Text());

  peer.Send("AGAIN");
  ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::PeerAgain));
  host.Net->Again();
  EXPECT_EQ(peer.ReadLine(), "AGAIN");
  ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::NewGame));
  peer.Send("BYE quit");
  const std::optional<TNetEvent> closed = host.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Quit);
  EXPECT_TRUE(closed->ByPeer);
  EXPECT_FALSE(closed->PeerLeft);
  EXPECT_TRUE(peer.WaitClosed());
  EXPECT_EQ(host.Game.Count(TNetEventKind::Cheat), 0);
}

TEST(Network, JoinsAScriptedHostAndPlaysByItsSalvoRules) {
  TPlayer guest(TestConfig("boris"));
  TPeerListener listener;
  guest.Net->Join("127.0.0.1", listener.Port());
  std::optional<TScriptedPeer> host = listener.Accept();
  ASSERT_TRUE(host);
  EXPECT_EQ(host->ReadLine(), "KRAVELON 1 boris");
  host->Send("KRAVELON 1 anna");
  host->Send("RULES touching=yes salvo=yes extra-shot=no");
  const std::optional<TNetEvent> opponent = guest.Game.WaitFor(TNetEventKind::Opponent);
  ASSERT_TRUE(opponent);
  EXPECT_EQ(opponent->Name, "anna");
  EXPECT_EQ(opponent->Rules, (TRules{true, true, false}));

  // A fleet legal only because the host's rules let ships touch: C5 beside A5–B5.
  std::vector<TShip> touching = OurFleet();
  touching[6] = {2, 4, true, 1};
  guest.Net->PlaceFleet(touching);
  ASSERT_EQ(host->ReadLine().value_or("").substr(0, 6), "FLEET ");
  TPeerFleet fleet;
  host->Send(fleet.FleetLine());
  std::optional<TNetEvent> turn = guest.Game.WaitFor(TNetEventKind::Turn);
  ASSERT_TRUE(turn);
  EXPECT_FALSE(turn->Mine);
  EXPECT_EQ(turn->Shots, 10);

  // The host's salvo of ten sinks our four and our first three.
  const std::vector<std::pair<std::string, std::string>> salvo{
      {"A1", "hit"}, {"B1", "hit"},  {"C1", "hit"},   {"D1", "sunk"}, {"F1", "hit"},
      {"G1", "hit"}, {"H1", "sunk"}, {"J10", "miss"}, {"J9", "miss"}, {"J8", "miss"}};
  for (const auto& [cell, expected] : salvo) {
    host->Send("SHOT " + cell);
    EXPECT_EQ(host->ReadLine(), "RESULT " + cell + " " + expected);
  }
  ASSERT_TRUE((turn = guest.Game.WaitFor(TNetEventKind::Turn)));
  EXPECT_TRUE(turn->Mine);
  EXPECT_EQ(turn->Shots, 8);
  for (int i = 0; i < 8; ++i) {
    const std::string cell = CellText({i, 9});
    ShootAt(guest, *host, cell, fleet.Answer(cell));
  }
  ASSERT_TRUE((turn = guest.Game.WaitFor(TNetEventKind::Turn)));
  EXPECT_FALSE(turn->Mine);
  EXPECT_EQ(turn->Shots, 9);  // we sank its one-cell ship at H10
  host->Send("BYE quit");
  const std::optional<TNetEvent> closed = guest.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_TRUE(closed->PeerLeft);  // gone without showing its fleet
}

struct TRudeCase {
  const char* Why;
  bool Greet;   // the guest greets first
  bool Battle;  // and both fleets are committed
  std::string Bytes;
  std::string Bye;
  TCloseReason Close;
};
void PrintTo(const TRudeCase& c, std::ostream* os) { *os << c.Why; }

class RudeGuest : public ::testing::TestWithParam<TRudeCase> {};

TEST_P(RudeGuest, HearsByeAndTheHostGoesOn) {
  const TRudeCase& c = GetParam();
  TPlayer host(TestConfig("anna"));
  const std::uint16_t port = host.Host();
  {
    TScriptedPeer peer = c.Greet ? GreetedGuest(port) : TScriptedPeer::Connect(port);
    if (c.Battle) StartBattle(host, peer, TPeerFleet());
    peer.SendRaw(c.Bytes);
    EXPECT_TRUE(peer.Expect(c.Bye));
    EXPECT_TRUE(peer.WaitClosed());
    const std::optional<TNetEvent> closed = host.Game.WaitFor(TNetEventKind::Closed);
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->Close, c.Close);
    EXPECT_FALSE(closed->ByPeer);
  }
  // Survived: the next guest is greeted and plays.
  TScriptedPeer next = GreetedGuest(port);
  next.Send("PING");
  EXPECT_EQ(next.ReadLine(), "PONG");
}

INSTANTIATE_TEST_SUITE_P(
    Network, RudeGuest,
    ::testing::Values(TRudeCase{"garbage", false, false, "\x01\x02\x03 garbage \xff\n",
                                "BYE protocol", TCloseReason::Protocol},
                      TRudeCase{"a megabyte line", false, false, std::string(1 << 20, 'x'),
                                "BYE protocol", TCloseReason::Protocol},
                      TRudeCase{"an unknown word", true, false, "HELLO anna\n", "BYE protocol",
                                TCloseReason::Protocol},
                      TRudeCase{"a shot out of turn", true, true, "SHOT A1\n", "BYE protocol",
                                TCloseReason::Protocol},
                      TRudeCase{"a bad cell", true, false, "SHOT K11\n", "BYE protocol",
                                TCloseReason::Protocol},
                      TRudeCase{"a wrong version", false, false, "KRAVELON 2 boris\n",
                                "BYE version", TCloseReason::Version},
                      TRudeCase{"invalid UTF-8", false, false, "KRAVELON 1 b\xc3\x28ris\n",
                                "BYE protocol", TCloseReason::Protocol},
                      TRudeCase{"extra spaces", false, false, "KRAVELON 1  boris\n", "BYE protocol",
                                TCloseReason::Protocol}));

TEST(Network, PingsASilentGuestThenClosesAfterTheLimit) {
  TPlayer host(TestConfig("anna", 300ms));
  TScriptedPeer peer = TScriptedPeer::Connect(host.Host());
  EXPECT_EQ(peer.ReadLine(), "KRAVELON 1 anna");
  EXPECT_EQ(peer.ReadLine(2s), "PING");
  EXPECT_EQ(peer.ReadLine(2s), "BYE timeout");
  EXPECT_TRUE(peer.WaitClosed(2s));
  const std::optional<TNetEvent> closed = host.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Timeout);
  EXPECT_FALSE(closed->ByPeer);
}

TEST(Network, KeepsAQuietGuestThatAnswersItsPings) {
  TPlayer host(TestConfig("anna", 300ms));
  TScriptedPeer peer = GreetedGuest(host.Host());
  // Five times the limit, answering each PING and saying nothing else.
  const auto end = std::chrono::steady_clock::now() + 1500ms;
  int pings = 0;
  while (std::chrono::steady_clock::now() < end) {
    const std::optional<std::string> line = peer.ReadLine(100ms);
    if (line == "PING") {
      ++pings;
      peer.Send("PONG");
    } else {
      ASSERT_FALSE(line) << *line;
      ASSERT_FALSE(peer.Closed());
    }
  }
  EXPECT_GE(pings, 3);
  host.Game.Pump(10ms);
  EXPECT_EQ(host.Game.Count(TNetEventKind::Closed), 0);
}

TEST(Network, TellsOfAGuestThatVanishesMidGame) {
  TPlayer host(TestConfig("anna"));
  TScriptedPeer peer = GreetedGuest(host.Host());
  StartBattle(host, peer, TPeerFleet());
  peer.Vanish();
  const std::optional<TNetEvent> closed = host.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Lost);
  EXPECT_TRUE(closed->PeerLeft);
  EXPECT_FALSE(CloseText(*closed).empty());
}

TEST(Network, CatchesALieOverTheWireAndSaysByeCheat) {
  TPlayer host(TestConfig("anna"));
  TScriptedPeer peer = GreetedGuest(host.Host());
  TPeerFleet fleet;
  StartBattle(host, peer, fleet);
  ShootAt(host, peer, "A1", "miss");  // A1 holds its four
  peer.Send(fleet.RevealLine());
  EXPECT_TRUE(peer.Expect("BYE cheat"));
  const std::optional<TNetEvent> cheat = host.Game.WaitFor(TNetEventKind::Cheat);
  ASSERT_TRUE(cheat);
  EXPECT_EQ(cheat->Cheat, TCheatReason::Result);
  EXPECT_EQ(cheat->Cell, Cell("A1"));
  EXPECT_EQ(host.Game.WaitFor(TNetEventKind::Closed).value_or(TNetEvent{}).Close,
            TCloseReason::Cheat);
}

TEST(Network, LeavingRevealsTheFleetCommittedToThenSaysBye) {
  TPlayer host(TestConfig("anna"));
  TScriptedPeer peer = GreetedGuest(host.Host());
  const std::string commitment = StartBattle(host, peer, TPeerFleet());
  host.Net->Leave();
  const std::optional<std::string> reveal = peer.ReadLine();
  ASSERT_TRUE(reveal && reveal->rfind("REVEAL ", 0) == 0);
  EXPECT_EQ(PeerSha256(reveal->substr(7)), commitment);
  EXPECT_EQ(peer.ReadLine(), "BYE quit");
  EXPECT_TRUE(peer.WaitClosed());
  const std::optional<TNetEvent> closed = host.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_FALSE(closed->ByPeer);
}

TEST(Network, StopsWithinABoundedTimeSayingByeToTheGameOn) {
  auto host = std::make_unique<TPlayer>(TestConfig("anna"));
  TScriptedPeer peer = GreetedGuest(host->Host());
  StartBattle(*host, peer, TPeerFleet());
  const auto start = std::chrono::steady_clock::now();
  host.reset();
  // A correctness bound, not a measurement: the destructor joins its thread, never hangs.
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_TRUE(peer.Expect("BYE quit"));
  EXPECT_TRUE(peer.WaitClosed());
}

TEST(Network, PlaysOneGameWithACrowdOfGuestsAndTurnsTheRestAway) {
  TPlayer host(TestConfig("anna"));
  const std::uint16_t port = host.Host();
  long before = 0;
  for (int round = 0; round < 5; ++round) {
    if (round == 1) before = ResidentKiB();  // after the first round has warmed up
    std::vector<TScriptedPeer> guests;
    for (int i = 0; i < 100; ++i) guests.push_back(TScriptedPeer::Connect(port));
    int games = 0, busy = 0;
    for (TScriptedPeer& guest : guests) {
      const std::optional<std::string> line = guest.ReadLine();
      if (line == "KRAVELON 1 anna") {
        ++games;
      } else if (line == "BYE busy") {
        ++busy;
        EXPECT_TRUE(guest.WaitClosed());
      }
    }
    EXPECT_EQ(games, 1);
    EXPECT_EQ(busy, 99);
    guests.clear();  // the one game's guest goes too
    ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::Closed));
  }
  const long growth = ResidentKiB() - before;
  RecordProperty("ResidentGrowthKiB", std::to_string(growth));
  EXPECT_LT(growth, 4096) << "resident memory grew by " << growth << " KiB over 400 guests";
  EXPECT_EQ(host.Game.Count(TNetEventKind::Connected), 5);
}

TEST(Network, TwoGamesOfOursPlayEachOtherToTheEndAndAgain) {
  TPlayer host(TestConfig("anna")), guest(TestConfig("boris"));
  guest.Net->Join("127.0.0.1", host.Host());
  ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::Opponent));
  ASSERT_TRUE(guest.Game.WaitFor(TNetEventKind::Opponent));
  for (int game = 0; game < 2; ++game) {
    host.Net->PlaceFleet(OurFleet());
    guest.Net->PlaceFleet(SortFleet(*ParseFleet(TPeerFleet().Text())));
    bool hostTurn = host.Game.WaitFor(TNetEventKind::Turn).value_or(TNetEvent{}).Mine;
    ASSERT_TRUE(hostTurn);
    ASSERT_TRUE(guest.Game.WaitFor(TNetEventKind::Turn));
    int next[2] = {0, 0};
    for (int shots = 0; shots < 200; ++shots) {
      TPlayer& shooter = hostTurn ? host : guest;
      TPlayer& target = hostTurn ? guest : host;
      int& index = next[hostTurn ? 0 : 1];
      const TPoint cell{index % BoardSize, index / BoardSize};
      ++index;
      shooter.Net->Shoot(cell);
      const std::optional<TNetEvent> result = shooter.Game.WaitFor(TNetEventKind::Result);
      const std::optional<TNetEvent> shotAt = target.Game.WaitFor(TNetEventKind::ShotAt);
      ASSERT_TRUE(result && shotAt);
      ASSERT_EQ(result->Cell, cell);
      ASSERT_EQ(shotAt->Result, result->Result);
      if (result->Result == TShotAnswer::Won) break;
      if (result->Result == TShotAnswer::Miss) {
        hostTurn = !hostTurn;
        ASSERT_TRUE(shooter.Game.WaitFor(TNetEventKind::Turn));
        ASSERT_TRUE(target.Game.WaitFor(TNetEventKind::Turn));
      }
    }
    const std::optional<TNetEvent> hostOver = host.Game.WaitFor(TNetEventKind::GameOver);
    const std::optional<TNetEvent> guestOver = guest.Game.WaitFor(TNetEventKind::GameOver);
    ASSERT_TRUE(hostOver && guestOver);
    EXPECT_NE(hostOver->Won, guestOver->Won);
    ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::Verified));
    ASSERT_TRUE(guest.Game.WaitFor(TNetEventKind::Verified));
    host.Net->Again();
    guest.Net->Again();
    ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::NewGame));
    ASSERT_TRUE(guest.Game.WaitFor(TNetEventKind::NewGame));
  }
  host.Net->Leave();
  const std::optional<TNetEvent> closed = guest.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Quit);
  EXPECT_TRUE(closed->ByPeer);
  EXPECT_EQ(host.Game.Count(TNetEventKind::Cheat) + guest.Game.Count(TNetEventKind::Cheat), 0);
}

TEST(Network, AJoinerTurnedAwayHearsTheHostIsBusy) {
  TPlayer host(TestConfig("anna")), late(TestConfig("clara"));
  const std::uint16_t port = host.Host();
  TScriptedPeer first = GreetedGuest(port);
  late.Net->Join("127.0.0.1", port);
  const std::optional<TNetEvent> closed = late.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Busy);
  EXPECT_TRUE(closed->ByPeer);
  first.Send("PING");
  EXPECT_EQ(first.ReadLine(), "PONG");  // the game on goes on
}

TEST(Network, OffersEventsAgainInOrderWhenTheGamesQueueIsFull) {
  TGameThread game;
  game.Refusals = 5;
  TNetwork net(TestConfig("anna"), game.Poster(), game.Handler());
  net.Host(0);
  const std::optional<TNetEvent> listening = game.WaitFor(TNetEventKind::Listening);
  ASSERT_TRUE(listening);
  TScriptedPeer peer = GreetedGuest(listening->Port);
  ASSERT_TRUE(game.WaitFor(TNetEventKind::Opponent));
  ASSERT_EQ(game.Events.size(), 3u);
  EXPECT_EQ(game.Events[0].Kind, TNetEventKind::Listening);
  EXPECT_EQ(game.Events[1].Kind, TNetEventKind::Connected);
  EXPECT_EQ(game.Events[2].Kind, TNetEventKind::Opponent);
}

TEST(Network, JoiningAClosedPortFailsAndANameIsResolved) {
  TPlayer guest(TestConfig("boris"));
  std::uint16_t closedPort = 0;
  {
    TPeerListener gone;
    closedPort = gone.Port();
  }
  guest.Net->Join("127.0.0.1", closedPort);
  std::optional<TNetEvent> closed = guest.Game.WaitFor(TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::ConnectFailed);
  EXPECT_FALSE(closed->Detail.empty());

  TPeerListener listener;
  guest.Net->Join("localhost", listener.Port());
  std::optional<TScriptedPeer> host = listener.Accept();
  ASSERT_TRUE(host);
  EXPECT_EQ(host->ReadLine(), "KRAVELON 1 boris");
}

TEST(Network, SaysOnceThatDiscoveryIsUnavailableAndPlaysOn) {
  // No system bus where this points: as on a machine without avahi-daemon.
  const char* old = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
  const std::string saved = old ? old : "";
  ::setenv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/kravelon-test-bus", 1);
  {
    TNetConfig config = TestConfig("anna");
    config.Discovery = true;
    TPlayer host(config);
    const std::uint16_t port = host.Host();
    const std::optional<TNetEvent> unavailable =
        host.Game.WaitFor(TNetEventKind::DiscoveryUnavailable);
    ASSERT_TRUE(unavailable);
    EXPECT_FALSE(unavailable->Detail.empty());
    EXPECT_FALSE(FailureText(*unavailable).empty());
    host.Net->Browse(true);
    TScriptedPeer peer = GreetedGuest(port);
    ASSERT_TRUE(host.Game.WaitFor(TNetEventKind::Opponent));
    host.Game.Pump(200ms);
    EXPECT_EQ(host.Game.Count(TNetEventKind::DiscoveryUnavailable), 1);
  }
  if (old) {
    ::setenv("DBUS_SYSTEM_BUS_ADDRESS", saved.c_str(), 1);
  } else {
    ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }
}

}  // namespace

}  // namespace kravelon
