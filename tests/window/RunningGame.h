#pragma once
// A test that starts the game with its full asset set and waits for the first board screen.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "tests/window/XHarness.h"

namespace kravelon {

inline constexpr const char* MainCaption = "The Quorvane Consol";
inline constexpr const char* ReadyLine = "Game: Пользователь расставляет корабли...";

class RunningGame : public ::testing::Test {
 protected:
  void SetUp() override { Start(Options); }

  void Start(TGameProcess::TOptions options) {
    using namespace std::chrono_literals;
    Game = std::make_unique<TGameProcess>(&X, std::move(options));
    ASSERT_TRUE(Game->WaitForLine(ReadyLine, 20s)) << Game->Stderr();
    auto window = X.WaitForWindow(MainCaption, 5s);
    ASSERT_TRUE(window);
    Frame = window->Frame;
    std::this_thread::sleep_for(300ms);
  }

  // The game window's picture, and the pointer in window coordinates.
  TScreenshot Shot() { return X.Shot(Frame.Left, Frame.Top, Frame.Width(), Frame.Height()); }
  void MoveTo(int x, int y) { X.MoveTo(Frame.Left + x, Frame.Top + y); }
  void ClickAt(int x, int y, int button = 1) {
    MoveTo(x, y);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    X.Click(button);
  }
  static std::string Asset(const char* name) { return GameBuildFolder() + "/Images/" + name; }

  TXServer X;
  TGameProcess::TOptions Options{};  // a test may change them before SetUp
  std::unique_ptr<TGameProcess> Game;
  TRect Frame;
};

}  // namespace kravelon
