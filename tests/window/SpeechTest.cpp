// --speak with no speech-dispatcher to reach: the game comes up, plays, and says once on its
// console that speech is unavailable.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/window/RunningGame.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

constexpr const char* Unavailable = "Речь недоступна: speech-dispatcher не запущен или не установлен.";

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

}  // namespace

}  // namespace kravelon
