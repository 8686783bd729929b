// --speak with no speech-dispatcher to reach, with one that goes away in the middle of a game and
// comes back, and with one that answers garbage: the game comes up, plays on, and says once on its
// console that speech is unavailable.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/support/SsipStandIn.h"
#include "tests/window/RunningGame.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

constexpr const char* Unavailable =
    "Речь недоступна: speech-dispatcher не запущен или не установлен.";
constexpr const char* Lost = "Речь прервалась: speech-dispatcher перестал отвечать.";
constexpr const char* NoAnswer = "Речь недоступна: speech-dispatcher не отвечает.";
constexpr const char* Arranged = "Game: Компьютер расставил все корабли.";
constexpr const char* ShotLine = "Game: Пользователь произвел выстрел в сектор ";

class SpeechWithoutDaemon : public RunningGame {
 protected:
  void SetUp() override {
    Options.Arguments = {"--speak"};
    Options.Environment = {"SPEECHD_ADDRESS=unix_socket:/nonexistent/kravelon/speechd.sock"};
    RunningGame::SetUp();
  }
};

TEST_F(SpeechWithoutDaemon, TheGamePlaysSilentlyAndSaysSoOnce) {
  ASSERT_TRUE(Game->WaitForLine(Unavailable, 10s)) << Game->Stderr();
  // The game plays on: the main menu's "Расставить" (Home, then one down) arranges the fleet.
  for (const char* key : {"Escape", "Home", "Down", "Return"}) {
    X.Key(key);
    std::this_thread::sleep_for(300ms);
  }
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  const auto lines = Game->ConsoleLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(Unavailable)), 1);
  EXPECT_TRUE(X.WaitForWindow(MainCaption, 1s));
}

// The game speaking to a recording stand-in for speech-dispatcher, which the test then troubles.
class SpeechWithStandIn : public RunningGame {
 protected:
  void SetUp() override {
    Daemon.SetMode(StartMode);
    Options.Arguments = {"--speak"};
    Options.Environment = {"SPEECHD_ADDRESS=" + Daemon.Address()};
    RunningGame::SetUp();
  }

  void Press(const char* key) {
    X.Key(key);
    std::this_thread::sleep_for(300ms);
  }
  // Ctrl+S, Ctrl held until the game has written `line`: the game reads the modifiers as it
  // handles the key, which may be after a computer's turn.
  bool CtrlS(const std::string& line) {
    X.Hold("Control_L", true);
    X.Key("s");
    const bool written = Game->WaitForLine(line, 10s);
    X.Hold("Control_L", false);
    return written;
  }
  std::string Lines() const {
    std::string all;
    for (const std::string& line : Game->ConsoleLines()) all += line + "\n";
    return all;
  }
  std::size_t Count(const std::string& line) const {
    const auto lines = Game->ConsoleLines();
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
  }
  // The main menu's "Расставить" (Home, then one down): both fleets arranged, the battle on; then
  // the target moved by the keys and a shot at it.
  void ArrangeMoveAndShoot() {
    for (const char* key : {"Escape", "Home", "Down", "Return"}) Press(key);
    ASSERT_TRUE(Game->WaitForLine(Arranged, 20s));
    for (const char* key : {"Right", "Down", "Right", "space"}) Press(key);
    const auto shot = [&] {
      for (const std::string& line : Game->ConsoleLines())
        if (line.rfind(ShotLine, 0) == 0) return true;
      return false;
    };
    for (int i = 0; i < 100 && !shot(); ++i) std::this_thread::sleep_for(100ms);
    ASSERT_TRUE(shot()) << Lines();
  }
  // Whether the target is said again: arrow keys until a focus text comes (the computer may still
  // be shooting, when keys do nothing).
  bool TargetSaid() {
    const auto said = [&] {
      for (const TSpokenText& text : Daemon.Spoken())
        if (text.Priority == "text" && text.Text.find(", ") != std::string::npos) return true;
      return false;
    };
    for (int i = 0; i < 40 && !said(); ++i) {
      Press(i % 2 ? "Left" : "Right");
      Daemon.WaitForCount(1, 200ms);
    }
    return said();
  }

  TSsipStandIn Daemon;
  TSsipMode StartMode = TSsipMode::Answer;
};

TEST_F(SpeechWithStandIn, TheGameOutlivesTheDaemonAndCtrlSTwiceBringsSpeechBack) {
  ASSERT_TRUE(Daemon.WaitForSpoken("Пользователь расставляет корабли", 10s));
  Daemon.Drop();
  ASSERT_TRUE(Game->WaitForLine(Lost, 10s)) << Game->Stderr();
  Daemon.Clear();
  ArrangeMoveAndShoot();
  EXPECT_EQ(Count(Lost), 1u);
  EXPECT_EQ(Count(Unavailable) + Count(NoAnswer), 0u);
  EXPECT_TRUE(Daemon.Spoken().empty());

  Daemon.Resume();
  ASSERT_TRUE(CtrlS("Речь выключена")) << Lines();
  ASSERT_TRUE(CtrlS("Речь включена")) << Lines();
  EXPECT_TRUE(TargetSaid());
  Game->Terminate();
  EXPECT_EQ(Game->WaitForExit(10s), 0);
}

class SpeechWithGarbage : public SpeechWithStandIn {
 protected:
  void SetUp() override {
    StartMode = TSsipMode::Garbage;
    SpeechWithStandIn::SetUp();
  }
};

// libspeechd calls exit over the first answer: its process goes, the game's window is up and plays.
TEST_F(SpeechWithGarbage, TheGamePlaysAndSaysSoOnce) {
  ASSERT_TRUE(Game->WaitForLine(NoAnswer, 10s)) << Game->Stderr();
  ArrangeMoveAndShoot();
  EXPECT_EQ(Count(NoAnswer), 1u);
  EXPECT_TRUE(X.WaitForWindow(MainCaption, 1s));
  Game->Terminate();
  EXPECT_EQ(Game->WaitForExit(10s), 0);
}

}  // namespace

}  // namespace kravelon
