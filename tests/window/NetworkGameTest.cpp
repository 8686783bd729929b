// Two copies of the game on one screen play each other over loopback, each driven by its keys:
// the host and the guest find each other, arrange, fire until one wins, both record the game
// under the other's name, and both ask for another. A guest that vanishes mid-game: the host
// says so in a box and goes back to the computer. And a scripted guest that lies about a hit.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <thread>

#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPeer.h"
#include "tests/support/SsipStandIn.h"
#include "tests/window/GameScreen.h"

namespace kravelon {

namespace {

constexpr int ScreenWidth = 1600, ScreenHeight = 900;
constexpr const char* ShotAtUs = "Game: Соперник произвел выстрел в сектор ";

// A port free on loopback now: the host is told to listen there.
int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&address), size) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  close(s);
  return port;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// One of the two players: its game, its voice and where its window stands.
struct TPlayer {
  TScratchFolder Folder;
  TSsipStandIn Voice;
  std::unique_ptr<TGameProcess> Game;
  Window Id = 0;
  TPoint At;

  std::size_t Count(const std::string& line) const {
    const auto lines = Game->ConsoleLines();
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
  }
  bool WaitForCount(const std::string& line, std::size_t count,
                    std::chrono::seconds timeout) const {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (Count(line) < count) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(30ms);
    }
    return true;
  }
  std::vector<std::string> RecordedGames() const {
    std::vector<std::string> games;
    std::istringstream in(ReadText(Folder.Path() + "/data/kravelon/record"));
    std::string line;
    while (std::getline(in, line))
      if (!line.starts_with('#') && !line.starts_with("kravelon")) games.push_back(line);
    return games;
  }
  std::string Lines() const {
    std::string all;
    for (const std::string& line : Game->ConsoleLines())
      if (!line.starts_with("Paint: ")) all += line + "\n";
    return all;
  }
};

class NetworkGame : public ::testing::Test {
 protected:
  void SetUp() override {
    Water = ReadJpeg(GameBuildFolder() + "/Images/Empty.jpg");
    Ship = ReadJpeg(GameBuildFolder() + "/Images/Ship.jpg");
    Port = FreePort();
    ASSERT_NE(Port, 0);
  }

  // Starts a player named `name`, its window moved to `at`, with `more` arguments; the guest
  // joins the host's port.
  void Start(TPlayer& player, const char* name, bool host, TPoint at,
             std::initializer_list<const char*> more = {}) {
    std::filesystem::create_directories(player.Folder.Path() + "/config/kravelon");
    std::ofstream(player.Folder.Path() + "/config/kravelon/kravelon.ini")
        << "[game]\nname = " << name << "\n";
    TGameProcess::TOptions options;
    options.Player = player.Folder.Path();
    options.Environment = {"KRAVELON_NET_LOOPBACK=1",
                           host ? "KRAVELON_SEED=11" : "KRAVELON_SEED=12",
                           "SPEECHD_ADDRESS=" + player.Voice.Address()};
    options.Arguments = {"--windowed", "--speak"};
    options.Arguments.insert(options.Arguments.end(), more.begin(), more.end());
    if (host) {
      options.Arguments.push_back("--host=" + std::to_string(Port));
    } else {
      options.Arguments.insert(options.Arguments.end(),
                               {"--join", "127.0.0.1:" + std::to_string(Port)});
    }
    const auto before = X.Windows();
    player.Game = std::make_unique<TGameProcess>(&X, options);
    ASSERT_TRUE(player.Game->WaitForLine(ReadyLine, 20s)) << player.Game->Stderr();
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!player.Id && std::chrono::steady_clock::now() < until) {
      for (const auto& w : X.Windows()) {
        const bool old =
            std::any_of(before.begin(), before.end(), [&](const auto& b) { return b.Id == w.Id; });
        if (w.Mapped && w.Name == MainCaption && !old) player.Id = w.Id;
      }
      std::this_thread::sleep_for(30ms);
    }
    ASSERT_NE(player.Id, 0u) << "no window";
    X.Move(player.Id, at.X, at.Y);
    player.At = at;
    std::this_thread::sleep_for(300ms);
  }

  void Keys(TPlayer& player, std::initializer_list<const char*> keys) {
    X.Focus(player.Id);
    std::this_thread::sleep_for(100ms);
    for (const char* key : keys) {
      X.Key(key);
      std::this_thread::sleep_for(150ms);
    }
  }

  // The player's own board as its window shows it: the cells showing `tile`.
  std::vector<TPoint> CellsShowing(const TPlayer& player, const TImage& tile) {
    const TScreenshot s = X.Shot(player.At.X, player.At.Y, 696, 488);
    std::vector<TPoint> cells;
    for (int column = 0; column < 10; ++column)
      for (int row = 0; row < 10; ++row) {
        const TPoint at = UserCell(column, row);
        if (Same(s, at.X, at.Y, tile)) cells.push_back({column, row});
      }
    return cells;
  }
  std::vector<TPoint> ShipCells(const TPlayer& player) { return CellsShowing(player, Ship); }
  std::vector<TPoint> WaterCells(const TPlayer& player) { return CellsShowing(player, Water); }

  // The target to А1 (Ctrl+Home), across and down to the cell, and Space.
  void Aim(const TPlayer& shooter, TPoint cell) {
    X.Focus(shooter.Id);
    X.Hold("Control_L", true);
    X.Key("Home");
    X.Hold("Control_L", false);
    for (int i = 0; i < cell.X; ++i) X.Key("Right");
    for (int i = 0; i < cell.Y; ++i) X.Key("Down");
    X.Key("space");
  }

  // A shot by the keys, then the shot in the other's console.
  void Fire(TPlayer& shooter, TPlayer& target, TPoint cell) {
    const std::string sector = Sector(cell.X, cell.Y);
    const std::size_t before = target.Count(ShotAtUs + sector);
    Aim(shooter, cell);
    ASSERT_TRUE(shooter.WaitForCount(UserShotPrefix + sector, 1, 10s))
        << "no shot at " << sector << "\n"
        << shooter.Lines();
    ASSERT_TRUE(target.WaitForCount(ShotAtUs + sector, before + 1, 10s)) << target.Lines();
  }

  // Both players in a game against each other, each fleet arranged by "Расставить".
  void StartAndArrange() {
    Start(Host, "Алиса", true, {0, 0});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Host.Game->WaitForLine(
        "Net: Сетевая игра открыта на порту " + std::to_string(Port) + ".", 10s))
        << Host.Lines();
    Start(Guest, "Борис", false, {ScreenWidth - 696, 0});
    if (HasFatalFailure()) return;
    ASSERT_TRUE(Host.Game->WaitForLine("Game: Противник: Борис", 10s)) << Host.Lines();
    ASSERT_TRUE(Guest.Game->WaitForLine("Game: Противник: Алиса", 10s)) << Guest.Lines();
    for (TPlayer* player : {&Host, &Guest}) Keys(*player, {"Escape", "Home", "Down", "Return"});
    ASSERT_TRUE(Host.Game->WaitForLine("Game: Вы стреляете первым.", 20s)) << Host.Lines();
    ASSERT_TRUE(Guest.Game->WaitForLine("Game: Первым стреляет соперник.", 20s)) << Guest.Lines();
  }

  // The user's board in the window, as Gameplay has it.
  static TPoint UserCell(int column, int row) { return {4 + 32 * column, 36 + 32 * row}; }

  TXServer X{ScreenWidth, ScreenHeight};
  TImage Water, Ship;
  TPlayer Host, Guest;
  int Port = 0;
};

TEST_F(NetworkGame, TwoCopiesPlayAWholeGameByTheKeysRecordItAndPlayAgain) {
  StartAndArrange();
  if (HasFatalFailure()) return;
  const std::vector<TPoint> guestShips = ShipCells(Guest);
  const std::vector<TPoint> guestWater = WaterCells(Guest), hostWater = WaterCells(Host);
  ASSERT_EQ(guestShips.size(), 20u);
  ASSERT_FALSE(guestWater.empty());
  ASSERT_FALSE(hostWater.empty());

  // The host misses, the guest misses back, then the host sinks the whole fleet: a hit keeps
  // the turn.
  Fire(Host, Guest, guestWater.front());
  if (HasFatalFailure()) return;
  Fire(Guest, Host, hostWater.front());
  if (HasFatalFailure()) return;
  EXPECT_TRUE(Guest.Voice.WaitForSpoken("Пользователь произвел выстрел в сектор " +
                                        Sector(hostWater.front().X, hostWater.front().Y)));
  EXPECT_TRUE(Host.Voice.WaitForSpoken("Соперник произвел выстрел в сектор " +
                                       Sector(hostWater.front().X, hostWater.front().Y)));
  for (const TPoint cell : guestShips) {
    Fire(Host, Guest, cell);
    if (HasFatalFailure()) return;
  }
  EXPECT_TRUE(Host.Voice.WaitForSpoken("Вы выиграли!", 15s)) << Host.Lines();
  EXPECT_TRUE(Guest.Voice.WaitForSpoken("Вы проиграли...", 15s)) << Guest.Lines();

  // Each keeps the game once the other's fleet has been checked, under the other's name.
  const auto recorded = [](const TPlayer& player, const std::string& part) {
    for (int i = 0; i < 100; ++i) {
      const auto games = player.RecordedGames();
      if (!games.empty()) return games.size() == 1 && games[0].find(part) != std::string::npos;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  };
  EXPECT_TRUE(recorded(Host, " player:Борис extra-shot won 21 20 1 0"))
      << ReadText(Host.Folder.Path() + "/data/kravelon/record");
  EXPECT_TRUE(recorded(Guest, " player:Алиса extra-shot lost 1 0 21 20"))
      << ReadText(Guest.Folder.Path() + "/data/kravelon/record");

  // "Рестарт" from both game-over menus: another game against the same player.
  for (TPlayer* player : {&Host, &Guest}) Keys(*player, {"Escape", "Home", "Return"});
  EXPECT_TRUE(Host.WaitForCount("Game: Противник: Борис", 2, 10s)) << Host.Lines();
  EXPECT_TRUE(Guest.WaitForCount("Game: Противник: Алиса", 2, 10s)) << Guest.Lines();
  EXPECT_TRUE(Host.Game->BoxLines().empty());
  EXPECT_TRUE(Guest.Game->BoxLines().empty());
}

TEST_F(NetworkGame, AGuestThatVanishesMidGameLeavesTheHostABoxAndTheComputer) {
  StartAndArrange();
  if (HasFatalFailure()) return;
  Fire(Host, Guest, WaterCells(Guest).front());
  if (HasFatalFailure()) return;
  Guest.Game->Signal(SIGKILL);
  const auto box = X.WaitForWindow("Кравелон", 10s);
  ASSERT_TRUE(box) << "no box\n" << Host.Lines();
  const auto boxes = Host.Game->BoxLines();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front(), "Соперник покинул игру.");
  X.Focus(box->Id);
  X.Key("Return");
  // The game before the guest came, and this one.
  EXPECT_TRUE(Host.WaitForCount("Game: Противник: Капитан", 2, 10s)) << Host.Lines();
  const auto games = Host.RecordedGames();
  ASSERT_EQ(games.size(), 1u);
  EXPECT_NE(games[0].find(" player:Борис extra-shot left 1 0 0 0"), std::string::npos) << games[0];
}

// The host's house rules are the game's: the guest plays by them, whatever its own say.
TEST_F(NetworkGame, TheGuestPlaysByTheHostsRules) {
  Start(Host, "Алиса", true, {0, 0}, {"--touching", "--salvo"});
  if (HasFatalFailure()) return;
  ASSERT_TRUE(Host.Game->WaitForLine(
      "Net: Сетевая игра открыта на порту " + std::to_string(Port) + ".", 10s))
      << Host.Lines();
  Start(Guest, "Борис", false, {ScreenWidth - 696, 0}, {"--extra-shot=no"});
  if (HasFatalFailure()) return;
  // Each names the other, then the host's rules: the lines of their start-up games against the
  // computer come before.
  for (TPlayer* player : {&Host, &Guest}) {
    const std::string opponent =
        player == &Host ? "Game: Противник: Борис" : "Game: Противник: Алиса";
    ASSERT_TRUE(player->Game->WaitForLine(opponent, 10s)) << player->Lines();
    // The line after it, once written.
    std::optional<std::string> next;
    for (int i = 0; i < 100 && !next; ++i) {
      const auto lines = player->Game->ConsoleLines();
      const auto at = std::find(lines.begin(), lines.end(), opponent);
      if (at + 1 != lines.end()) next = at[1];
      std::this_thread::sleep_for(30ms);
    }
    EXPECT_EQ(next, "Game: Правила: корабли могут касаться, залп") << player->Lines();
  }
}

// A guest speaking the protocol from its page: it calls the host's hit on its ship a miss, then
// leaves, revealing the fleet that proves the lie.
TEST_F(NetworkGame, AGuestThatLiesAboutAHitIsCaughtAtItsRevealAndTheGameIsVoid) {
  Start(Host, "Алиса", true, {0, 0});
  if (HasFatalFailure()) return;
  ASSERT_TRUE(Host.Game->WaitForLine(
      "Net: Сетевая игра открыта на порту " + std::to_string(Port) + ".", 10s))
      << Host.Lines();
  TScriptedPeer peer = TScriptedPeer::Connect(static_cast<std::uint16_t>(Port));
  TPeerFleet fleet;
  peer.Send("KRAVELON 1 Мошенник");
  ASSERT_TRUE(peer.Expect("RULES touching=no salvo=no extra-shot=yes")) << Host.Lines();
  ASSERT_TRUE(Host.Game->WaitForLine("Game: Противник: Мошенник", 10s)) << Host.Lines();
  Keys(Host, {"Escape", "Home", "Down", "Return"});
  peer.Send(fleet.FleetLine());
  ASSERT_TRUE(Host.Game->WaitForLine("Game: Вы стреляете первым.", 20s)) << Host.Lines();

  const std::string cell = fleet.Cells().front();  // "A1"-style, a ship's
  const TPoint at{cell[0] - 'A', std::stoi(cell.substr(1)) - 1};
  Aim(Host, at);
  ASSERT_TRUE(peer.Expect("SHOT " + cell)) << Host.Lines();
  peer.Send("RESULT " + cell + " miss");
  ASSERT_TRUE(Host.Game->WaitForLine(UserShotPrefix + Sector(at.X, at.Y), 10s)) << Host.Lines();
  peer.Send(fleet.RevealLine());
  peer.Send("BYE quit");

  const std::string caught = "Соперник сыграл нечестно: он неверно ответил на выстрел по клетке " +
                             Sector(at.X, at.Y) + ".";
  EXPECT_TRUE(Host.Game->WaitForLine("Net: " + caught, 10s)) << Host.Lines();
  const auto box = X.WaitForWindow("Кравелон", 10s);
  ASSERT_TRUE(box) << "no box\n" << Host.Lines();
  const auto boxes = Host.Game->BoxLines();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.front(), caught);
  X.Focus(box->Id);
  X.Key("Return");
  EXPECT_TRUE(Host.WaitForCount("Game: Противник: Капитан", 2, 10s)) << Host.Lines();
  const auto games = Host.RecordedGames();
  ASSERT_EQ(games.size(), 1u);
  EXPECT_NE(games[0].find(" player:Мошенник extra-shot void "), std::string::npos) << games[0];
}

}  // namespace

}  // namespace kravelon
