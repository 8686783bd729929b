// The real game in each language the environment or the command line asks for: the log, the
// title strip's picture and the boxes' caption; and a catalogue that cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/window/Pictures.h"
#include "tests/window/RunningGame.h"
#include "tests/support/ScratchFolder.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

constexpr const char* EnglishReadyLine = "Game: The player is placing the ships...";

bool HasCyrillic(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0xD0 && b <= 0xD3;  // lead bytes of U+0400…U+04FF
  });
}

// How far the window's title strip (4 pixels down) is from a picture: the mean difference of the
// colour channels, right of the menu button (where "МЕНЮ" or "MENU" is written over it) and
// inside the border's pieces.
double TitleDistance(const TScreenshot& shot, const TImage& title) {
  long total = 0, count = 0;
  for (int y = 4; y < 28; ++y)
    for (int x = 80; x < title.Width - 32; ++x) {
      const TColor a = shot.At(x, y + 4), b = title.At(x, y);
      total += std::abs(a.R - b.R) + std::abs(a.G - b.G) + std::abs(a.B - b.B);
      ++count;
    }
  return static_cast<double>(total) / (3.0 * static_cast<double>(count));
}

struct TCase {
  const char* Name;
  std::vector<std::string> Environment;
  std::vector<std::string> Arguments;
  bool English;
  const char* Setting = nullptr;  // the [game] section's line of the settings file, if any
  friend void PrintTo(const TCase& c, std::ostream* out) { *out << c.Name; }
};

class Languages : public ::testing::TestWithParam<TCase> {
 protected:
  TXServer X;
  TScratchFolder Player;
};

TEST_P(Languages, TheLogTheTitleStripAndTheBoxesSpeakTheLanguageChosen) {
  const TCase& c = GetParam();
  if (c.Setting) {
    std::filesystem::create_directories(Player.Path() + "config/kravelon");
    std::ofstream(Player.Path() + "config/kravelon/kravelon.ini") << "[game]\n" << c.Setting << "\n";
  }
  TGameProcess game(&X, {.Environment = c.Environment, .Arguments = c.Arguments,
                         .Player = Player.Path()});
  ASSERT_TRUE(game.WaitForLine(c.English ? EnglishReadyLine : ReadyLine, 20s)) << game.Stderr();
  const auto window = X.WaitForWindow(MainCaption, 5s);
  ASSERT_TRUE(window);
  std::this_thread::sleep_for(300ms);

  const auto lines = game.ConsoleLines();
  if (c.English) {
    for (const std::string& line : lines) EXPECT_FALSE(HasCyrillic(line)) << line;
    EXPECT_EQ(lines.front(), "Kravelon version 1.2");
  } else {
    // Today's Russian start-up, with no line about a catalogue.
    EXPECT_EQ(lines.front(), "Кравелон версия 1.2");
    EXPECT_EQ(lines[1], "Paint: Загружено изображение формата JPEG: Images/About.jpg");
    for (const std::string& line : lines) EXPECT_EQ(line.find("перевод"), std::string::npos) << line;
  }

  // The first frame may still be on its way on a busy machine: the strip is read until it
  // settles on one language's picture, or for a few seconds.
  const TImage english = ReadJpeg(GameBuildFolder() + "/Images/en/Title.jpg");
  const TImage russian = ReadJpeg(GameBuildFolder() + "/Images/Title.jpg");
  double toEnglish = 0, toRussian = 0;
  const auto settled = std::chrono::steady_clock::now() + 3s;
  do {
    const TScreenshot shot = X.Shot(window->Frame.Left, window->Frame.Top, 696, 36);
    toEnglish = TitleDistance(shot, english);
    toRussian = TitleDistance(shot, russian);
    if ((c.English ? toEnglish : toRussian) < 2.0) break;
    std::this_thread::sleep_for(50ms);
  } while (std::chrono::steady_clock::now() < settled);
  EXPECT_LT(c.English ? toEnglish : toRussian, 2.0);
  EXPECT_GT(c.English ? toRussian : toEnglish, 4.0);

  // F1's box carries the game's name as its caption.
  const char* caption = c.English ? "Kravelon" : "Кравелон";
  X.Key("F1");
  ASSERT_TRUE(X.WaitForWindow(caption, 5s)) << "no box named " << caption;
  X.Key("Return");
  const auto until = std::chrono::steady_clock::now() + 3s;
  while (X.FindWindow(caption) && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(X.FindWindow(caption));
}

INSTANTIATE_TEST_SUITE_P(
    EachWay, Languages,
    ::testing::Values(TCase{"LanguageEn", {"LANGUAGE=en"}, {}, true},
                      TCase{"LangDe", {"LANG=de_DE.UTF-8"}, {}, true},
                      TCase{"LangOptionEn", {"LANG=ru_RU.UTF-8"}, {"--lang", "en"}, true},
                      TCase{"LangRu", {"LANG=ru_RU.UTF-8"}, {}, false},
                      TCase{"LangC", {"LANG=C"}, {}, false},
                      TCase{"LangOptionRu", {"LANGUAGE=en"}, {"--lang=ru"}, false},
                      TCase{"SettingEn", {"LANG=ru_RU.UTF-8"}, {}, true, "language = en"},
                      TCase{"LangOptionOverSetting", {}, {"--lang", "ru"}, false, "language = en"}),
    [](const ::testing::TestParamInfo<TCase>& info) { return std::string(info.param.Name); });

// English asked for, but its catalogue is missing or cut short: Russian, with one line.
TEST(UnusableCatalogue, LeavesTheGameInRussianWithOneLineAndNoBox) {
  struct TDamage {
    bool WithCatalogues, Truncated;
    const char* Line;
  };
  for (const TDamage& d : {TDamage{false, false, "Не найден перевод \""},
                           TDamage{true, true, "Поврежден перевод \""}}) {
    SCOPED_TRACE(d.Line);
    TXServer x;
    TGameProcess game(&x, {.Environment = {"LANGUAGE=en"},
                           .WithCatalogues = d.WithCatalogues,
                           .TruncatedCatalogue = d.Truncated});
    ASSERT_TRUE(game.WaitForLine(ReadyLine, 20s)) << game.Stderr();
    const auto lines = game.ConsoleLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.find("перевод") != std::string::npos; }),
              1);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1].rfind(d.Line, 0), 0u) << lines[1];
    EXPECT_TRUE(x.WaitForWindow(MainCaption, 5s));
    EXPECT_FALSE(x.FindWindow("Кравелон"));
    EXPECT_EQ(game.Stderr(), "");
  }
}

}  // namespace

}  // namespace kravelon
