// The session's rules: greetings, commitments, turns under each house rule, the end, another
// game, leaving; every message out of place answered with BYE protocol; every lie caught with
// its reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "Net/FleetText.h"
#include "Net/Session.h"
#include "tests/support/ScriptedPeer.h"

namespace kravelon {

namespace {

const char* const SaltA = "0123456789abcdef0123456789abcdef";
const char* const SaltB = "fedcba9876543210fedcba9876543210";

// Rows 1, 3 and 5, gaps everywhere: the host's fleet in these tests.
std::vector<TShip> HostFleet() {
  return {{0, 0, true, 4}, {5, 0, true, 3}, {0, 2, true, 3}, {4, 2, true, 2}, {7, 2, true, 2},
          {0, 4, true, 2}, {3, 4, true, 1}, {5, 4, true, 1}, {7, 4, true, 1}, {9, 4, true, 1}};
}

// The page's example fleet: the guest's.
std::vector<TShip> GuestFleet() {
  return *ParseFleet("A1h4 F1h3 A3v3 J1v2 C3h2 F3h2 I4h1 C6h1 E8h1 H10h1");
}

std::vector<TPoint> ShipCells(const std::vector<TShip>& fleet) {
  std::vector<TPoint> cells;
  for (const TShip& ship : fleet) {
    for (int i = 0; i < ship.Length; ++i) cells.push_back(ship.Cell(i));
  }
  return cells;
}

std::vector<TPoint> WaterCells(const std::vector<TShip>& fleet) {
  std::vector<TPoint> cells;
  const std::vector<TPoint> ships = ShipCells(fleet);
  for (int row = 0; row < BoardSize; ++row) {
    for (int column = 0; column < BoardSize; ++column) {
      if (std::find(ships.begin(), ships.end(), TPoint{column, row}) == ships.end()) {
        cells.push_back({column, row});
      }
    }
  }
  return cells;
}

int Count(const std::vector<TNetEvent>& events, TNetEventKind kind) {
  return static_cast<int>(std::count_if(events.begin(), events.end(),
                                        [kind](const TNetEvent& e) { return e.Kind == kind; }));
}

const TNetEvent* Last(const std::vector<TNetEvent>& events, TNetEventKind kind) {
  for (auto it = events.rbegin(); it != events.rend(); ++it) {
    if (it->Kind == kind) return &*it;
  }
  return nullptr;
}

// Two sessions joined by a wire that carries every line at once.
struct TPair {
  explicit TPair(const TRules& rules = {})
      : Host(TRole::Host, "anna", rules), Guest(TRole::Guest, "boris") {
    Host.Start();
    Guest.Start();
    Pump();
  }
  void Pump() {
    for (bool moved = true; moved;) {
      moved = false;
      for (std::string& line : Host.TakeLines()) {
        HostSaid.push_back(line);
        Guest.Heard(line);
        moved = true;
      }
      for (std::string& line : Guest.TakeLines()) {
        GuestSaid.push_back(line);
        Host.Heard(line);
        moved = true;
      }
      for (TNetEvent& e : Host.TakeEvents()) HostEvents.push_back(std::move(e));
      for (TNetEvent& e : Guest.TakeEvents()) GuestEvents.push_back(std::move(e));
    }
  }
  void Place() {
    ASSERT_TRUE(Host.PlaceFleet(HostFleet(), SaltA));
    ASSERT_TRUE(Guest.PlaceFleet(GuestFleet(), SaltB));
    Pump();
  }
  bool Shoot(TSession& shooter, TPoint cell) {
    const bool taken = shooter.Shoot(cell);
    Pump();
    return taken;
  }
  TSession Host, Guest;
  std::vector<std::string> HostSaid, GuestSaid;
  std::vector<TNetEvent> HostEvents, GuestEvents;
};

TEST(Session, GreetsAndTheHostSendsItsRules) {
  TPair pair(TRules{true, false, false});
  EXPECT_EQ(pair.HostSaid, (std::vector<std::string>{"KRAVELON 1 anna",
                                                     "RULES touching=yes salvo=no extra-shot=no"}));
  EXPECT_EQ(pair.GuestSaid, (std::vector<std::string>{"KRAVELON 1 boris"}));
  ASSERT_TRUE(Last(pair.HostEvents, TNetEventKind::Opponent));
  ASSERT_TRUE(Last(pair.GuestEvents, TNetEventKind::Opponent));
  EXPECT_EQ(Last(pair.HostEvents, TNetEventKind::Opponent)->Name, "boris");
  EXPECT_EQ(Last(pair.GuestEvents, TNetEventKind::Opponent)->Name, "anna");
  EXPECT_EQ(Last(pair.GuestEvents, TNetEventKind::Opponent)->Rules, (TRules{true, false, false}));
  EXPECT_EQ(pair.Guest.Rules(), (TRules{true, false, false}));
}

TEST(Session, CommitsOnlyToALegalFleetOnceAndStartsWithTheHostsShot) {
  TPair pair;
  std::vector<TShip> touching = HostFleet();
  touching[9] = {4, 4, true, 1};  // beside the one at D5
  EXPECT_FALSE(pair.Host.PlaceFleet(touching, SaltA));
  EXPECT_FALSE(pair.Host.PlaceFleet(HostFleet(), "not a salt"));
  EXPECT_FALSE(pair.Host.Shoot({0, 0}));  // no battle yet
  ASSERT_TRUE(pair.Host.PlaceFleet(HostFleet(), SaltA));
  EXPECT_FALSE(pair.Host.PlaceFleet(HostFleet(), SaltA));
  pair.Pump();
  EXPECT_EQ(Count(pair.GuestEvents, TNetEventKind::PeerPlaced), 1);
  EXPECT_EQ(Count(pair.HostEvents, TNetEventKind::Turn), 0);
  ASSERT_TRUE(pair.Guest.PlaceFleet(GuestFleet(), SaltB));
  pair.Pump();
  ASSERT_TRUE(Last(pair.HostEvents, TNetEventKind::Turn));
  EXPECT_TRUE(Last(pair.HostEvents, TNetEventKind::Turn)->Mine);
  EXPECT_FALSE(Last(pair.GuestEvents, TNetEventKind::Turn)->Mine);
  EXPECT_FALSE(pair.Guest.Shoot({0, 0}));
  EXPECT_EQ(pair.HostSaid.back().substr(0, 6), "FLEET ");
}

TEST(Session, AHitKeepsTheTurnAndAMissPassesItByDefault) {
  TPair pair;
  pair.Place();
  ASSERT_TRUE(pair.Shoot(pair.Host, {0, 0}));  // A1: the guest's four
  EXPECT_EQ(pair.GuestSaid.back(), "RESULT A1 hit");
  EXPECT_EQ(Last(pair.HostEvents, TNetEventKind::Result)->Result, TShotAnswer::Hit);
  EXPECT_EQ(Last(pair.GuestEvents, TNetEventKind::ShotAt)->Cell, (TPoint{0, 0}));
  EXPECT_TRUE(pair.Host.MyTurn());
  EXPECT_FALSE(pair.Host.Shoot({0, 0}));       // the same cell twice
  ASSERT_TRUE(pair.Shoot(pair.Host, {4, 4}));  // E5: water
  EXPECT_EQ(pair.GuestSaid.back(), "RESULT E5 miss");
  EXPECT_FALSE(pair.Host.MyTurn());
  EXPECT_TRUE(pair.Guest.MyTurn());
  EXPECT_TRUE(Last(pair.GuestEvents, TNetEventKind::Turn)->Mine);
}

TEST(Session, EveryShotPassesTheTurnWithoutTheExtraShot) {
  TPair pair(TRules{false, false, false});
  pair.Place();
  ASSERT_TRUE(pair.Shoot(pair.Host, {0, 0}));
  EXPECT_EQ(pair.GuestSaid.back(), "RESULT A1 hit");
  EXPECT_FALSE(pair.Host.MyTurn());
  ASSERT_TRUE(pair.Shoot(pair.Guest, {0, 0}));
  EXPECT_EQ(pair.HostSaid.back(), "RESULT A1 hit");
  EXPECT_TRUE(pair.Host.MyTurn());
}

TEST(Session, ASalvoIsOneShotPerShipAfloatAndTheGameMayEndInIt) {
  TPair pair(TRules{false, true, true});
  pair.Place();
  const std::vector<TPoint> guestShips = ShipCells(GuestFleet());
  const std::vector<TPoint> hostWater = WaterCells(HostFleet());
  const std::vector<TPoint> guestWater = WaterCells(GuestFleet());
  EXPECT_EQ(pair.Host.ShotsLeft(), 10);
  // First salvo: the four (A1–D1), the three (F1–H1) and one cell of the other three, then
  // two misses: two of the guest's ships sunk.
  std::vector<TPoint> salvo(guestShips.begin(), guestShips.begin() + 8);
  salvo.push_back(guestWater[0]);
  salvo.push_back(guestWater[1]);
  for (std::size_t i = 0; i < salvo.size(); ++i) {
    ASSERT_TRUE(pair.Host.MyTurn()) << i;
    ASSERT_TRUE(pair.Host.Shoot(salvo[i]));
    EXPECT_FALSE(pair.Host.Shoot(guestWater[5])) << "a second shot before the answer";
    pair.Pump();
  }
  EXPECT_FALSE(pair.Host.MyTurn());
  // The guest's salvo is eight: its two sunk ships do not fire.
  EXPECT_EQ(Last(pair.GuestEvents, TNetEventKind::Turn)->Shots, 8);
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(pair.Shoot(pair.Guest, hostWater[i]));
  EXPECT_EQ(Last(pair.HostEvents, TNetEventKind::Turn)->Shots, 10);
  // Second salvo: ten of the twelve ship cells left; third: the last two, and the game is over
  // at its second shot.
  for (std::size_t i = 8; i < 18; ++i) ASSERT_TRUE(pair.Shoot(pair.Host, guestShips[i]));
  // Eight of the guest's ships are sunk by now: two shots.
  const int shots = Last(pair.GuestEvents, TNetEventKind::Turn)->Shots;
  EXPECT_EQ(shots, 2);
  for (int i = 8; i < 8 + shots; ++i) ASSERT_TRUE(pair.Shoot(pair.Guest, hostWater[i]));
  ASSERT_TRUE(pair.Host.MyTurn());
  ASSERT_TRUE(pair.Shoot(pair.Host, guestShips[18]));
  ASSERT_TRUE(pair.Shoot(pair.Host, guestShips[19]));
  EXPECT_EQ(pair.GuestSaid[pair.GuestSaid.size() - 2],
            "RESULT " + CellText(guestShips[19]) + " won");
  EXPECT_EQ(pair.Host.Phase(), TPhase::Ended);
  EXPECT_FALSE(pair.Host.Shoot(guestWater[9]));
  EXPECT_TRUE(Last(pair.HostEvents, TNetEventKind::GameOver)->Won);
  EXPECT_FALSE(Last(pair.GuestEvents, TNetEventKind::GameOver)->Won);
}

// Both sides fire at every cell in turn, row by row, to the end of the game.
void PlayOut(TPair& pair) {
  int next[2] = {0, 0};
  for (int guard = 0; guard < 400 && pair.Host.Phase() == TPhase::Battle; ++guard) {
    TSession& shooter = pair.Host.MyTurn() ? pair.Host : pair.Guest;
    int& index = next[&shooter == &pair.Host ? 0 : 1];
    ASSERT_TRUE(pair.Shoot(shooter, {index % BoardSize, index / BoardSize}));
    ++index;
  }
}

TEST(Session, EndsWithBothRevealsCheckedThenAnotherGameWhenBothAsk) {
  for (const TRules& rules : {TRules{}, TRules{false, false, false}, TRules{true, true, true}}) {
    TPair pair(rules);
    pair.Place();
    PlayOut(pair);
    ASSERT_EQ(pair.Host.Phase(), TPhase::Ended);
    ASSERT_EQ(pair.Guest.Phase(), TPhase::Ended);
    EXPECT_NE(Last(pair.HostEvents, TNetEventKind::GameOver)->Won,
              Last(pair.GuestEvents, TNetEventKind::GameOver)->Won);
    ASSERT_TRUE(Last(pair.HostEvents, TNetEventKind::Verified));
    ASSERT_TRUE(Last(pair.GuestEvents, TNetEventKind::Verified));
    EXPECT_EQ(Last(pair.HostEvents, TNetEventKind::Verified)->Fleet, SortFleet(GuestFleet()));
    EXPECT_EQ(Last(pair.GuestEvents, TNetEventKind::Verified)->Fleet, SortFleet(HostFleet()));
    EXPECT_EQ(Count(pair.HostEvents, TNetEventKind::Cheat), 0);

    EXPECT_TRUE(pair.Guest.Again());
    EXPECT_FALSE(pair.Guest.Again());
    pair.Pump();
    EXPECT_EQ(Count(pair.HostEvents, TNetEventKind::PeerAgain), 1);
    EXPECT_EQ(pair.Host.Phase(), TPhase::Ended);
    EXPECT_TRUE(pair.Host.Again());
    pair.Pump();
    EXPECT_EQ(Count(pair.HostEvents, TNetEventKind::NewGame), 1);
    EXPECT_EQ(Count(pair.GuestEvents, TNetEventKind::NewGame), 1);
    // The second game: new commitments, the host first again, and played out as well.
    pair.Place();
    EXPECT_TRUE(pair.Host.MyTurn());
    PlayOut(pair);
    EXPECT_EQ(Count(pair.HostEvents, TNetEventKind::Verified), 2);
    EXPECT_EQ(Count(pair.GuestEvents, TNetEventKind::Verified), 2);
  }
}

TEST(Session, LeavingMidGameRevealsFirstAndTheOpponentChecksIt) {
  TPair pair;
  pair.Place();
  ASSERT_TRUE(pair.Shoot(pair.Host, {0, 0}));
  pair.Host.Leave(TByeReason::Restart);
  pair.Pump();
  ASSERT_GE(pair.HostSaid.size(), 2u);
  EXPECT_EQ(pair.HostSaid[pair.HostSaid.size() - 2].substr(0, 7), "REVEAL ");
  EXPECT_EQ(pair.HostSaid.back(), "BYE restart");
  ASSERT_TRUE(Last(pair.GuestEvents, TNetEventKind::Verified));
  const TNetEvent* closed = Last(pair.GuestEvents, TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Restart);
  EXPECT_TRUE(closed->ByPeer);
  EXPECT_FALSE(closed->PeerLeft);
  EXPECT_EQ(Last(pair.HostEvents, TNetEventKind::Closed)->Close, TCloseReason::Restart);
  EXPECT_FALSE(Last(pair.HostEvents, TNetEventKind::Closed)->ByPeer);
}

TEST(Session, ASideThatGoesWithoutRevealingHasLeft) {
  for (bool bye : {true, false}) {
    TSession host(TRole::Host, "anna");
    host.Start();
    host.Heard("KRAVELON 1 boris");
    ASSERT_TRUE(host.PlaceFleet(HostFleet(), SaltA));
    host.Heard(TPeerFleet().FleetLine());
    if (bye) {
      host.Heard("BYE quit");
    } else {
      host.PeerGone();
    }
    const std::vector<TNetEvent> events = host.TakeEvents();
    const TNetEvent* closed = Last(events, TNetEventKind::Closed);
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->Close, bye ? TCloseReason::Quit : TCloseReason::Lost);
    EXPECT_TRUE(closed->PeerLeft);
  }
}

TEST(Session, AnswersPingWithPongAndAnotherVersionWithBye) {
  TSession host(TRole::Host, "anna");
  host.Start();
  host.Heard("KRAVELON 1 boris");
  host.TakeLines();
  host.Heard("PING");
  host.Heard("PONG");
  EXPECT_EQ(host.TakeLines(), (std::vector<std::string>{"PONG"}));

  TSession other(TRole::Guest, "boris");
  other.Start();
  other.Heard("KRAVELON 2 anna speaks another tongue");
  EXPECT_EQ(other.TakeLines().back(), "BYE version");
  EXPECT_EQ(Last(other.TakeEvents(), TNetEventKind::Closed)->Close, TCloseReason::Version);
  EXPECT_TRUE(other.Closed());
}

TEST(Session, TimesOutWithBye) {
  TSession host(TRole::Host, "anna");
  host.Start();
  host.Silent();
  EXPECT_EQ(host.TakeLines().back(), "BYE timeout");
  EXPECT_EQ(Last(host.TakeEvents(), TNetEventKind::Closed)->Close, TCloseReason::Timeout);
}

// --- Messages out of place ---

enum class TStage { Connected, Greeted, Battle, ShotPending, GuestsTurn, PeerRevealed };

struct THostileCase {
  const char* Why;
  TStage Stage;
  std::vector<std::string> Lines;
};
void PrintTo(const THostileCase& c, std::ostream* os) { *os << c.Why; }

// A host session brought to `stage` by a well-behaved guest's lines.
TSession HostAt(TStage stage) {
  TSession host(TRole::Host, "anna");
  host.Start();
  const TPeerFleet guest;
  if (stage >= TStage::Greeted) host.Heard("KRAVELON 1 boris");
  if (stage >= TStage::Battle) {
    EXPECT_TRUE(host.PlaceFleet(GuestFleet(), SaltA));  // the page's fleet: A1 is a ship
    host.Heard(guest.FleetLine());
  }
  if (stage >= TStage::ShotPending) {
    EXPECT_TRUE(host.Shoot({4, 4}));  // E5
  }
  if (stage >= TStage::GuestsTurn) host.Heard("RESULT E5 miss");
  if (stage >= TStage::PeerRevealed) host.Heard(guest.RevealLine());
  EXPECT_FALSE(host.Closed());
  host.TakeLines();
  host.TakeEvents();
  return host;
}

class HostileLine : public ::testing::TestWithParam<THostileCase> {};

TEST_P(HostileLine, IsAnsweredWithByeProtocolAndNothingMore) {
  TSession host = HostAt(GetParam().Stage);
  for (const std::string& line : GetParam().Lines) host.Heard(line);
  const std::vector<std::string> said = host.TakeLines();
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(), "BYE protocol");
  const std::vector<TNetEvent> events = host.TakeEvents();
  const TNetEvent* closed = Last(events, TNetEventKind::Closed);
  ASSERT_TRUE(closed);
  EXPECT_EQ(closed->Close, TCloseReason::Protocol);
  EXPECT_FALSE(closed->ByPeer);
  EXPECT_FALSE(closed->Detail.empty());
  // Closed for good: nothing heard later is answered.
  host.Heard("PING");
  EXPECT_TRUE(host.TakeLines().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Session, HostileLine,
    ::testing::Values(
        THostileCase{"garbage first", TStage::Connected, {"\x01\x02garbage"}},
        THostileCase{"ping before the greeting", TStage::Connected, {"PING"}},
        THostileCase{"a shot before the greeting", TStage::Connected, {"SHOT A1"}},
        THostileCase{"a second greeting", TStage::Greeted, {"KRAVELON 1 boris"}},
        THostileCase{
            "rules from the guest", TStage::Greeted, {"RULES touching=no salvo=no extra-shot=yes"}},
        THostileCase{"a shot before the battle", TStage::Greeted, {"SHOT A1"}},
        THostileCase{"a reveal before its fleet", TStage::Greeted, {TPeerFleet().RevealLine()}},
        THostileCase{"a second fleet", TStage::Battle, {TPeerFleet().FleetLine()}},
        THostileCase{"a shot out of turn", TStage::Battle, {"SHOT A1"}},
        THostileCase{"a bad cell", TStage::GuestsTurn, {"SHOT K11"}},
        THostileCase{"an unknown word", TStage::Battle, {"FIRE A1"}},
        THostileCase{"a result with no shot", TStage::Battle, {"RESULT A1 miss"}},
        THostileCase{"a result for another cell", TStage::ShotPending, {"RESULT E6 miss"}},
        THostileCase{"a second result", TStage::GuestsTurn, {"RESULT E5 miss"}},
        THostileCase{"a cell shot twice", TStage::GuestsTurn, {"SHOT A1", "SHOT A1"}},
        THostileCase{"again before the end", TStage::Battle, {"AGAIN"}},
        THostileCase{"a shot after leaving's reveal", TStage::PeerRevealed, {"SHOT B1"}},
        THostileCase{"a second reveal", TStage::PeerRevealed, {TPeerFleet().RevealLine()}},
        THostileCase{"extra spaces", TStage::Battle, {"SHOT  A1"}}));

TEST(Session, TheGuestWaitsForTheRulesFirst) {
  for (const std::string& line :
       {TPeerFleet().FleetLine(), std::string("SHOT A1"), std::string("AGAIN")}) {
    TSession guest(TRole::Guest, "boris");
    guest.Start();
    guest.Heard("KRAVELON 1 anna");
    guest.Heard(line);
    EXPECT_EQ(guest.TakeLines().back(), "BYE protocol") << line;
    EXPECT_FALSE(guest.PlaceFleet(HostFleet(), SaltB));
  }
}

// --- Lies, caught with their reasons ---

struct TCheatCase {
  const char* Why;
  std::vector<std::string> Committed;                      // the guest's fleet, committed to
  std::vector<std::string> Revealed;                       // and revealed (empty: the same)
  std::string RevealSalt;                                  // empty: the committed salt
  std::vector<std::pair<std::string, std::string>> Shots;  // the host's cells, the guest's words
  TCheatReason Reason;
  TFleetFault Fault = TFleetFault::None;
  std::string Cell;  // for a result: where the lie was
};
void PrintTo(const TCheatCase& c, std::ostream* os) { *os << c.Why; }

const std::vector<std::string> Honest{"A1h4", "F1h3", "A3v3", "J1v2", "C3h2",
                                      "F3h2", "I4h1", "C6h1", "E8h1", "H10h1"};

class Lie : public ::testing::TestWithParam<TCheatCase> {};

TEST_P(Lie, IsCaughtWithItsReason) {
  const TCheatCase& c = GetParam();
  const std::string salt = "00112233445566778899aabbccddeeff";
  const TPeerFleet committed(c.Committed, salt);
  const TPeerFleet revealed(c.Revealed.empty() ? c.Committed : c.Revealed,
                            c.RevealSalt.empty() ? salt : c.RevealSalt);
  TSession host(TRole::Host, "anna", TRules{});
  host.Start();
  host.Heard("KRAVELON 1 boris");
  ASSERT_TRUE(host.PlaceFleet(HostFleet(), SaltA));
  host.Heard(committed.FleetLine());
  for (const auto& [cell, said] : c.Shots) {
    ASSERT_TRUE(host.Shoot(*ParseCell(cell))) << cell;
    host.Heard("RESULT " + cell + " " + said);
  }
  if (!host.Closed()) host.Heard(revealed.RevealLine());  // leaving, before its BYE
  const std::vector<TNetEvent> events = host.TakeEvents();
  const TNetEvent* cheat = Last(events, TNetEventKind::Cheat);
  ASSERT_TRUE(cheat);
  EXPECT_EQ(cheat->Cheat, c.Reason);
  EXPECT_EQ(cheat->Fault, c.Fault);
  if (!c.Cell.empty()) {
    EXPECT_EQ(CellText(cheat->Cell), c.Cell);
  }
  EXPECT_FALSE(CheatText(*cheat).empty());
  EXPECT_EQ(host.TakeLines().back(), "BYE cheat");
  EXPECT_EQ(Last(events, TNetEventKind::Closed)->Close, TCloseReason::Cheat);
  EXPECT_EQ(Count(events, TNetEventKind::Verified), 0);
}

std::vector<std::string> Replace(std::vector<std::string> ships,
                                 std::initializer_list<std::pair<std::size_t, std::string>> with) {
  for (const auto& [index, ship] : with) ships[index] = ship;
  return ships;
}

INSTANTIATE_TEST_SUITE_P(Session, Lie,
                         ::testing::Values(TCheatCase{"a hit called a miss",
                                                      Honest,
                                                      {},
                                                      "",
                                                      {{"A1", "miss"}},
                                                      TCheatReason::Result,
                                                      TFleetFault::None,
                                                      "A1"},
                                           TCheatCase{"a miss called a hit",
                                                      Honest,
                                                      {},
                                                      "",
                                                      {{"B1", "hit"}, {"E5", "hit"}},
                                                      TCheatReason::Result,
                                                      TFleetFault::None,
                                                      "E5"},
                                           TCheatCase{"a sinking called a hit",
                                                      Honest,
                                                      {},
                                                      "",
                                                      {{"I4", "hit"}},
                                                      TCheatReason::Result,
                                                      TFleetFault::None,
                                                      "I4"},
                                           TCheatCase{"a hit called a sinking",
                                                      Honest,
                                                      {},
                                                      "",
                                                      {{"A1", "sunk"}},
                                                      TCheatReason::Result,
                                                      TFleetFault::None,
                                                      "A1"},
                                           TCheatCase{"touching ships",
                                                      Replace(Honest, {{7, "B6h1"}}),
                                                      {},
                                                      "",
                                                      {},
                                                      TCheatReason::Fleet,
                                                      TFleetFault::Touching,
                                                      ""},
                                           TCheatCase{"overlapping ships",
                                                      {"A1h4", "F1h3", "A3v3", "J1v2", "C3h2",
                                                       "F3h2", "A4h1", "I4h1", "E8h1", "H10h1"},
                                                      {},
                                                      "",
                                                      {},
                                                      TCheatReason::Fleet,
                                                      TFleetFault::Overlap,
                                                      ""},
                                           TCheatCase{"a ship off the board",
                                                      {"H10h4", "F1h3", "A3v3", "J1v2", "C3h2",
                                                       "F3h2", "I4h1", "C6h1", "E8h1", "A10h1"},
                                                      {},
                                                      "",
                                                      {},
                                                      TCheatReason::Fleet,
                                                      TFleetFault::OffBoard,
                                                      ""},
                                           TCheatCase{"two fours",
                                                      Replace(Honest, {{1, "F1h4"}}),
                                                      {},
                                                      "",
                                                      {},
                                                      TCheatReason::Fleet,
                                                      TFleetFault::Ships,
                                                      ""},
                                           TCheatCase{"another salt",
                                                      Honest,
                                                      {},
                                                      "ffeeddccbbaa99887766554433221100",
                                                      {},
                                                      TCheatReason::Commitment,
                                                      TFleetFault::None,
                                                      ""},
                                           TCheatCase{"a ship moved after the commitment",
                                                      Honest,
                                                      Replace(Honest, {{9, "J10h1"}}),
                                                      "",
                                                      {},
                                                      TCheatReason::Commitment,
                                                      TFleetFault::None,
                                                      ""},
                                           TCheatCase{"won at the first hit",
                                                      Honest,
                                                      {},
                                                      "",
                                                      {{"A1", "won"}},
                                                      TCheatReason::Tally,
                                                      TFleetFault::None,
                                                      "A1"}));

TEST(Session, CatchesAFleetThatIsNeverHitAsSoonAsTheBoardCannotHoldIt) {
  // The guest answers every shot "miss", and shoots at water. Twenty ship cells must be
  // somewhere among the cells not shot yet: the eighty-first miss leaves nineteen.
  TSession host = HostAt(TStage::Battle);
  const std::vector<TPoint> water = WaterCells(GuestFleet());  // the host's own water
  int shots = 0;
  while (!host.Closed() && shots < 100) {
    const TPoint cell{shots % BoardSize, shots / BoardSize};
    ASSERT_TRUE(host.Shoot(cell));
    host.Heard("RESULT " + CellText(cell) + " miss");
    if (!host.Closed()) host.Heard("SHOT " + CellText(water[static_cast<std::size_t>(shots)]));
    ++shots;
  }
  EXPECT_EQ(shots, 81);
  const std::vector<TNetEvent> events = host.TakeEvents();
  const TNetEvent* cheat = Last(events, TNetEventKind::Cheat);
  ASSERT_TRUE(cheat);
  EXPECT_EQ(cheat->Cheat, TCheatReason::Tally);
}

}  // namespace

}  // namespace kravelon
