// The main window's start-up and shut-down.
#include <algorithm>

#include "tests/unit/main/MainFixture.h"

namespace {

TEST_F(MainWindowTest, StartUpRunsOnceAndLogsInOrder) {
  Provide("Images");
  Provide("Sounds");
  Window = std::make_unique<TMain1>();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Кравелон версия 1.2"}));
  EXPECT_TRUE(App->HasIdle());
  EXPECT_FALSE(GraphicsReady);
  EXPECT_EQ(Window->ClientWidth(), 696);
  EXPECT_EQ(Window->ClientHeight(), 488);

  App->StepIdle();
  EXPECT_FALSE(App->HasIdle());
  EXPECT_TRUE(GraphicsReady);
  EXPECT_TRUE(Window->PlacementByMouse);
  EXPECT_EQ(Engine->State, gsPlacing);
  EXPECT_TRUE(Pauses.empty());

  const auto lines = Lines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines.front(), "Кравелон версия 1.2");
  const std::vector<std::string> tail{"Инициализация меню...", "Инициализация меню завершена.",
                                      "Game: Сброс игры", "Game: Пользователь расставляет корабли..."};
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), lines.end() - 4)) << lines[lines.size() - 4];
  // The painter's lines come before the sound bank's, and both before the menu lines.
  auto firstSound = std::find_if(lines.begin(), lines.end(),
                                 [](const std::string& l) { return l.starts_with("Sound: "); });
  auto lastPaint = std::find_if(lines.rbegin(), lines.rend(),
                                [](const std::string& l) { return l.starts_with("Paint: "); });
  if (firstSound != lines.end() && lastPaint != lines.rend()) {
    EXPECT_LE(lastPaint.base() - lines.begin(), firstSound - lines.begin());
  }
  // Everything logged before drawing could start also went to the hidden memo.
  EXPECT_EQ(Consol->Memo1, lines);
}

TEST_F(MainWindowTest, WithoutSoundsItWarnsPausesAndGoesOn) {
  Provide("Images");
  Window = std::make_unique<TMain1>();
  const auto lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], "Не могу найти папку \"Sounds\".");
  EXPECT_EQ(lines[2],
            "Звук будет отключен до тех пор, пока папка \"Sounds\" не будет восстановлена.");
  EXPECT_EQ(Pauses, (std::vector<int>{3000}));
  App->StepIdle();
  EXPECT_TRUE(GraphicsReady);
  for (const auto& l : Lines()) EXPECT_FALSE(l.starts_with("Sound: ")) << l;
}

TEST_F(MainWindowTest, ShutDownFreesEverythingAndSilencesTheLog) {
  Provide("Images");
  Provide("Sounds");
  Window = std::make_unique<TMain1>();
  App->StepIdle();
  Window->FormDestroy();
  EXPECT_EQ(Paint, nullptr);
  EXPECT_EQ(Engine, nullptr);
  EXPECT_EQ(Consol, nullptr);
  EXPECT_EQ(Sound, nullptr);
  EXPECT_EQ(Window->Backdrop, nullptr);
  // A late repaint after shut-down draws nothing and does not crash.
  Window->FormPaint();
}

}  // namespace
