// A game against a player across the network: the engine fires the user's shots only once the
// player has answered them, takes the player's shots from outside, and keeps the tally, the turns
// and the end of the game as against the computer.
#include <gtest/gtest.h>

#include "GameEngine/FleetView.h"
#include "RulesTestSupport.h"

namespace kravelon {

namespace {

class RemoteGame : public ::testing::Test {
 protected:
  // A remote game with the user's fleet placed (LegalFleet, all across) under `rules`.
  void Start(const TRules& rules = {}) {
    Engine.SetRemote(true);
    Engine.SetRules(rules);
    Engine.NewGame();
    Engine.SetOrientation(true);
    for (const TShipAt& ship : LegalFleet) Engine.PlaceShip(ship.Column, ship.Row);
  }
  // Our shot at `cell` as the player answers it.
  void Answered(TPoint cell, TShotResult answer) {
    ASSERT_TRUE(Engine.AimRemote(cell.X, cell.Y)) << cell.X << "," << cell.Y;
    Engine.AnswerRemote(answer);
  }

  TRecordingHost Host;
  TScriptedRandom Random;
  TGameEngine Engine{&Host, &Random};
};

TEST_F(RemoteGame, OurShotsWaitForTheAnswersAndTheBoardLearnsOnlyWhatTheySay) {
  Start();
  EXPECT_TRUE(Engine.Remote());
  EXPECT_EQ(Host.FleetsPlaced, std::vector<int>{sdUser});
  for (const std::string& line : Host.Log)
    EXPECT_EQ(line.find("Компьютер"), std::string::npos) << line;
  EXPECT_FALSE(Engine.AimRemote(0, 0)) << "no shot before both fleets are committed";

  Engine.BeginRemoteBattle(true);
  ASSERT_EQ(Engine.State(), gsBattle);
  ASSERT_EQ(Engine.ActiveSide(), sdUser);
  ASSERT_TRUE(Engine.AimRemote(3, 3));
  EXPECT_FALSE(Engine.AimRemote(4, 4)) << "one shot awaits its answer";
  EXPECT_EQ(Engine.AwaitedShot(), (TPoint{3, 3}));
  EXPECT_TRUE(Host.Shots.empty()) << "nothing is fired before the answer";
  Engine.AnswerRemote(srHit);
  EXPECT_FALSE(Engine.AwaitedShot());
  EXPECT_EQ(Host.Shots, (std::vector<TShot>{{sdUser, {3, 3}, true}}));
  EXPECT_EQ(Engine.Sea(sdUser).At(3, 3), smHit);
  EXPECT_EQ(Engine.ReadCell(3, 3, sdComputer).ShipNo, UnknownShip);
  EXPECT_FALSE(Engine.AimRemote(3, 3)) << "a cell fired at";

  // "sunk" makes a ship of the hits in line with it.
  Answered({3, 4}, srSunk);
  EXPECT_EQ(Engine.Sea(sdUser).At(3, 3), smSunk);
  EXPECT_EQ(Engine.Sea(sdUser).At(3, 4), smSunk);
  EXPECT_EQ(FleetGroupsOf(Engine, sdComputer)[2].Sunk, 1);  // a ship of two
  EXPECT_EQ(Engine.FleetAfloat(sdComputer), 9);
  EXPECT_EQ(Engine.ActiveSide(), sdUser) << "a hit keeps the turn";

  Answered({9, 9}, srMiss);
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);
  EXPECT_EQ(Host.TurnsPassed, std::vector<int>{sdComputer});
  EXPECT_FALSE(Engine.AimRemote(8, 8)) << "the player's turn";

  // The player's shots come from outside and fall on the user's board as the computer's would.
  Engine.ShootRemote(0, 0);
  EXPECT_EQ(Host.Shots.back(), (TShot{sdComputer, {0, 0}, true}));
  EXPECT_EQ(Host.Log.back(), "Game: Соперник произвел выстрел в сектор А1");
  Engine.ShootRemote(9, 9);
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Engine.Shots(sdComputer), 2);
  EXPECT_EQ(Engine.Hits(sdComputer), 1);
}

TEST_F(RemoteGame, TheTwentiethHitWinsAndTheRevealedFleetStandsUnderTheShots) {
  Start();
  Engine.BeginRemoteBattle(true);
  // The player's fleet is LegalFleet too: each ship hit cell by cell, its last cell "sunk".
  std::vector<TShip> fleet;
  for (const TShipAt& ship : LegalFleet) {
    fleet.push_back({ship.Column, ship.Row, true, ship.Length});
    for (int i = 0; i < ship.Length; ++i) {
      Answered({ship.Column + i, ship.Row}, i + 1 < ship.Length ? srHit : srSunk);
      if (HasFatalFailure()) return;
    }
  }
  EXPECT_EQ(Host.Winners, std::vector<int>{sdUser});
  EXPECT_EQ(Engine.State(), gsReport);
  EXPECT_EQ(Engine.Hits(sdUser), 20);
  EXPECT_EQ(Engine.Sea(sdUser).Sunk().size(), 10u);

  EXPECT_FALSE(Engine.RemoteFleetRevealed());
  Engine.RevealRemoteFleet(fleet);
  EXPECT_TRUE(Engine.RemoteFleetRevealed());
  EXPECT_EQ(FleetOnBoard(Engine, sdComputer), fleet);
  EXPECT_EQ(Engine.ReadCell(0, 0, sdComputer).Fired, 1);

  // The next game is the computer's again once the window says so.
  Engine.SetRemote(false);
  Engine.NewGame();
  EXPECT_FALSE(Engine.Remote());
}

TEST_F(RemoteGame, ASalvoIsCountedFromTheShipsAfloatAsTheTurnBegins) {
  TRules salvo;
  salvo.Salvo = true;
  Start(salvo);
  Engine.BeginRemoteBattle(false);
  EXPECT_EQ(Engine.ActiveSide(), sdComputer);
  EXPECT_EQ(Engine.SalvoShots(), 10);
  for (int column = 0; column < 10; ++column) Engine.ShootRemote(column, 9);
  EXPECT_EQ(Engine.ActiveSide(), sdUser);
  EXPECT_EQ(Engine.SalvoShotsLeft(), 10);
  Answered({0, 9}, srMiss);
  EXPECT_EQ(Engine.ActiveSide(), sdUser) << "a miss does not end a salvo";
  EXPECT_EQ(Engine.SalvoShotsLeft(), 9);
}

}  // namespace

}  // namespace kravelon
