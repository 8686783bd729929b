// Start-up and shut-down of the real game under its own X server.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>

#include "tests/window/RunningGame.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

constexpr const char* BoxCaption = "Кравелон";

bool AllBlackOutside(const TScreenshot& shot, const TRect& inside) {
  for (int y = 0; y < shot.Height; ++y) {
    for (int x = 0; x < shot.Width; ++x) {
      if (x >= inside.Left && x < inside.Right && y >= inside.Top && y < inside.Bottom) continue;
      if (!(shot.At(x, y) == clr::Black)) return false;
    }
  }
  return true;
}

int CountPixels(const TScreenshot& shot, bool (*pred)(TColor)) {
  int n = 0;
  for (int y = 0; y < shot.Height; ++y)
    for (int x = 0; x < shot.Width; ++x) n += pred(shot.At(x, y)) ? 1 : 0;
  return n;
}

}  // namespace

TEST(Startup, MainWindowIsCentredOverABlackScreen) {
  TXServer x;
  TGameProcess game(&x, {});
  ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s)) << game.Stderr();
  auto window = x.WaitForWindow(MainCaption, 5s);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Frame, (TRect{164, 140, 164 + 696, 140 + 488}));
  std::this_thread::sleep_for(200ms);
  TScreenshot shot = x.Shot();
  EXPECT_TRUE(AllBlackOutside(shot, window->Frame))
      << (shot.Save("/tmp/kravelon-startup.png"), "see /tmp/kravelon-startup.png");
}

TEST(Startup, ConsoleStartsWithVersionAndEndsWithTheNewGame) {
  TXServer x;
  TGameProcess game(&x, {});
  ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s)) << game.Stderr();
  auto lines = game.ConsoleLines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines.front(), "Кравелон версия 1.2");
  auto menu = std::find(lines.begin(), lines.end(), "Инициализация меню...");
  ASSERT_NE(menu, lines.end());
  EXPECT_EQ(*(menu + 1), "Инициализация меню завершена.");
  EXPECT_EQ(*(menu + 2), "Game: Сброс игры");
  EXPECT_EQ(*(menu + 3), ReadyLine);
}

TEST(Startup, WithoutImagesAnErrorBoxEndsTheProgramCleanly) {
  TXServer x;
  TGameProcess game(&x, {.WithImages = false});
  auto box = x.WaitForWindow(BoxCaption, 10s);
  ASSERT_TRUE(box) << game.Stderr();
  EXPECT_FALSE(x.FindWindow(MainCaption));
  auto lines = game.ConsoleLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1], "Не могу найти папку \"Images\".");

  // The box: centred, with the red error badge and dark text on its light body.
  EXPECT_EQ(box->Frame.Left + box->Frame.Width() / 2, 512);
  EXPECT_EQ(box->Frame.Top + box->Frame.Height() / 2, 384);
  auto isRed = [](TColor c) { return c.R > 150 && c.G < 80 && c.B < 80; };
  TScreenshot shot;
  for (int i = 0; i < 100; ++i) {  // the box draws itself once the server has mapped it
    shot = x.Shot(box->Frame.Left, box->Frame.Top, box->Frame.Width(), box->Frame.Height());
    if (CountPixels(shot, isRed) > 200) break;
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_GT(CountPixels(shot, isRed), 200) << (shot.Save("/tmp/kravelon-box.png"), "/tmp/kravelon-box.png");
  EXPECT_GT(CountPixels(shot, [](TColor c) { return c.R < 60 && c.G < 60 && c.B < 60; }), 100);

  x.Key("Return");
  auto status = game.WaitForExit(5s);
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
}

TEST(Startup, ClickingOkClosesTheBox) {
  TXServer x;
  TGameProcess game(&x, {.WithImages = false});
  auto box = x.WaitForWindow(BoxCaption, 10s);
  ASSERT_TRUE(box);
  // The OK button sits centred near the bottom edge.
  x.ClickAt(box->Frame.Left + box->Frame.Width() / 2, box->Frame.Bottom - 30);
  auto status = game.WaitForExit(5s);
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0) << game.Stderr();
}

TEST(Startup, AnUnreadablePictureEndsTheProgramWithABox) {
  struct TCase {
    TGameProcess::TOptions Options;
    const char* LastLineStart;
  };
  const TCase cases[] = {
      {{.RemovedImage = "Miss.jpg"}, "Paint: Загружено изображение формата JPEG: Images/Empty.jpg"},
      {{.DamagedImage = "About.jpg"}, "Paint: Загружено изображение формата JPEG: Images/About.jpg"},
  };
  for (const TCase& c : cases) {
    TXServer x;
    TGameProcess game(&x, c.Options);
    ASSERT_TRUE(x.WaitForWindow(BoxCaption, 10s)) << game.Stderr();
    // Start-up stopped at the file: nothing after it was loaded, no game was set up.
    EXPECT_EQ(game.ConsoleLines().back(), c.LastLineStart);
    x.Key("Return");
    auto status = game.WaitForExit(5s);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, 0);
  }
}

TEST(Startup, WithoutSoundsTheGameWarnsAndStillComesUp) {
  TXServer x;
  TGameProcess game(&x, {.WithSounds = false});
  ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s)) << game.Stderr();
  auto lines = game.ConsoleLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], "Не могу найти папку \"Sounds\".");
  EXPECT_EQ(lines[2],
            "Звук будет отключен до тех пор, пока папка \"Sounds\" не будет восстановлена.");
  EXPECT_TRUE(x.WaitForWindow(MainCaption, 5s));
  for (const auto& l : lines) EXPECT_EQ(l.rfind("Sound: ", 0), std::string::npos) << l;
}

TEST(Startup, MissingCursorIsLoggedWithItsFullPath) {
  TXServer x;
  TGameProcess game(&x, {.WithCursor = false});
  ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s)) << game.Stderr();
  const std::string expected =
      "Paint: Файл \"" + game.Folder() + "Images/CURSOR.CUR\" не найден.";
  auto lines = game.ConsoleLines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end());
}

TEST(Startup, QuitSignalsCloseInOrderWithStatusZero) {
  // SIGHUP: the terminal that started the game was closed.
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    TXServer x;
    TGameProcess game(&x, {});
    ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s));
    game.Signal(signal);
    auto status = game.WaitForExit(5s);
    ASSERT_TRUE(status) << strsignal(signal);
    EXPECT_EQ(*status, 0) << strsignal(signal);
  }
}

TEST(Startup, AQuitDuringThePauseForMissingSoundsEndsItAtOnce) {
  TXServer x;
  TGameProcess game(&x, {.WithSounds = false});
  ASSERT_TRUE(game.WaitForLine(
      "Звук будет отключен до тех пор, пока папка \"Sounds\" не будет восстановлена.", 10s));
  game.Terminate();
  // The pause lasts 3 s; ending well inside it shows the pause listened for the quit.
  auto status = game.WaitForExit(1500ms);
  ASSERT_TRUE(status) << "still pausing";
  EXPECT_EQ(*status, 0);
  EXPECT_FALSE(x.FindWindow(MainCaption));
}

TEST(Startup, AFolderInPlaceOfAFileIsTreatedAsAMissingFile) {
  // A picture: the box naming it, then a clean end. Start-up stops right after the file before.
  const std::pair<const char*, const char*> pictures[] = {
      {"Images/Miss.jpg", "Paint: Загружено изображение формата JPEG: Images/Empty.jpg"},
      {"Images/Border.bmp", "Paint: Загружено изображение формата JPEG: Images/Revealed.jpg"},
  };
  for (const auto& [file, lastLine] : pictures) {
    TXServer x;
    TGameProcess game(&x, {.FolderInPlaceOf = file});
    ASSERT_TRUE(x.WaitForWindow(BoxCaption, 10s)) << file << game.Stderr();
    EXPECT_EQ(game.ConsoleLines().back(), lastLine);
    x.Key("Return");
    auto status = game.WaitForExit(5s);
    ASSERT_TRUE(status) << file;
    EXPECT_EQ(*status, 0) << file;
  }
  // The cursor and a sound: the game comes up without them, the cursor's absence logged.
  for (const char* file : {"Images/CURSOR.CUR", "Sounds/Shot.wav"}) {
    TXServer x;
    TGameProcess game(&x, {.FolderInPlaceOf = file});
    ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s)) << file << game.Stderr();
    EXPECT_TRUE(x.WaitForWindow(MainCaption, 5s)) << file;
    EXPECT_FALSE(x.FindWindow(BoxCaption)) << file;
    const auto lines = game.ConsoleLines();
    const std::string cursorLine =
        "Paint: Файл \"" + game.Folder() + "Images/CURSOR.CUR\" не найден.";
    const bool cursorMissing = std::string(file) == "Images/CURSOR.CUR";
    EXPECT_EQ(std::find(lines.begin(), lines.end(), cursorLine) != lines.end(), cursorMissing);
    const std::string soundLine = std::string("Sound: Загружен звуковой файл ") + file;
    EXPECT_EQ(std::find(lines.begin(), lines.end(), soundLine), lines.end());
  }
}

TEST(Startup, WithoutADisplayItSaysSoAndFails) {
  TGameProcess game(nullptr, {.WithDisplay = false});
  auto status = game.WaitForExit(10s);
  ASSERT_TRUE(status);
  EXPECT_NE(*status, 0);
  const std::string err = game.Stderr();
  EXPECT_NE(err.find("display"), std::string::npos) << err;
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
}

TEST(Startup, TheCommandLineIsAnsweredBeforeAnyWindow) {
  // No display at all: had the game gone on to start SDL, it would fail for want of one.
  struct TCase {
    std::vector<std::string> Arguments;
    std::vector<std::string> Environment;
    int ExitStatus;
    std::vector<std::string> Stdout;
    std::string Stderr;
  };
  const TCase cases[] = {
      {{"--version"}, {}, 0, {"kravelon 1.2"}, ""},
      {{"--bogus"},
       {},
       2,
       {},
       "kravelon: неизвестный параметр '--bogus'; попробуйте 'kravelon --help'\n"},
      {{"--bogus"},
       {"LANG=en_US.UTF-8"},
       2,
       {},
       "kravelon: unknown option '--bogus'; try 'kravelon --help'\n"},
      {{"--scale", "7"},
       {"LANGUAGE=en"},
       2,
       {},
       "kravelon: invalid scale '7' (expected 1, 2, 3 or 4); try 'kravelon --help'\n"},
      {{"--lang", "xx"},
       {"LANGUAGE=en"},
       2,
       {},
       "kravelon: unknown language 'xx' (expected ru, en); try 'kravelon --help'\n"},
      {{"--lang"},
       {},
       2,
       {},
       "kravelon: параметру '--lang' нужен язык: ru, en; попробуйте 'kravelon --help'\n"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Arguments.front());
    TGameProcess game(nullptr, {.WithDisplay = false,
                                .Environment = c.Environment,
                                .Arguments = c.Arguments});
    auto status = game.WaitForExit(10s);
    ASSERT_TRUE(status);
    EXPECT_EQ(*status, c.ExitStatus);
    EXPECT_EQ(game.ConsoleLines(), c.Stdout);
    EXPECT_EQ(game.Stderr(), c.Stderr);
  }
  // --help in the environment's language, or in the one asked for.
  const std::pair<std::vector<std::string>, std::vector<std::string>> helps[] = {
      {{}, {"--help"}}, {{"LANG=de_DE.UTF-8"}, {"--help"}}, {{}, {"--lang", "en", "--help"}}};
  const char* firstLines[] = {"Использование: kravelon [ПАРАМЕТР]...",
                              "Usage: kravelon [OPTION]...", "Usage: kravelon [OPTION]..."};
  for (std::size_t i = 0; i < std::size(helps); ++i) {
    TGameProcess help(nullptr, {.WithDisplay = false,
                                .Environment = helps[i].first,
                                .Arguments = helps[i].second});
    ASSERT_EQ(help.WaitForExit(10s), 0);
    const auto lines = help.ConsoleLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), firstLines[i]);
  }
}

}  // namespace kravelon
