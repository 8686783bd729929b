// The game's language: which one the environment asks for, the catalogue read or refused, and
// the game in English: its texts, sector names, pictures and menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Common/Text.h"
#include "GameEngine/Board.h"
#include "GameEngine/FleetView.h"
#include "GameEngine/GameEngineProbe.h"
#include "Media/Language.h"
#include "Media/Layout.h"
#include "tests/unit/main/MainFixture.h"
#include "Toolkit/Graphics.h"

namespace kravelon {

namespace {

namespace fs = std::filesystem;

const std::string BuiltCatalogues = KRAVELON_LOCALE_DIR;  // the build's locale/, with its '/'

bool HasCyrillic(std::string_view text) {
  // Cyrillic letters are U+0400…U+04FF: lead bytes 0xD0–0xD3 in UTF-8.
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0xD0 && b <= 0xD3;
  });
}

// Every test leaves the process in the game's own language.
class LanguageTest : public ::testing::Test {
 protected:
  void TearDown() override { StartLanguage("ru", BuiltCatalogues); }
};

TEST_F(LanguageTest, TheEnvironmentIsReadAsGettextReadsIt) {
  struct TCase {
    std::map<std::string, std::string> Environment;
    const char* Language;
  };
  const TCase cases[] = {
      {{}, "ru"},
      {{{"LANG", "C"}}, "ru"},
      {{{"LANG", "POSIX"}}, "ru"},
      {{{"LANG", "C.UTF-8"}}, "ru"},
      {{{"LANG", "ru_RU.UTF-8"}}, "ru"},
      {{{"LANG", "ru_UA.KOI8-U"}}, "ru"},
      {{{"LANG", "en_US.UTF-8"}}, "en"},
      {{{"LANG", "en_GB"}}, "en"},
      // No catalogue of their own: English rather than Russian.
      {{{"LANG", "de_DE.UTF-8"}}, "en"},
      {{{"LANG", "fr_FR@euro"}}, "en"},
      // LC_ALL before LC_MESSAGES before LANG.
      {{{"LC_ALL", "ru_RU.UTF-8"}, {"LANG", "en_US.UTF-8"}}, "ru"},
      {{{"LC_MESSAGES", "en_US.UTF-8"}, {"LANG", "ru_RU.UTF-8"}}, "en"},
      {{{"LC_ALL", "C"}, {"LANG", "en_US.UTF-8"}}, "ru"},
      // LANGUAGE's list goes first, the first language the game speaks wins.
      {{{"LANGUAGE", "en"}}, "en"},
      {{{"LANGUAGE", "en"}, {"LANG", "ru_RU.UTF-8"}}, "en"},
      {{{"LANGUAGE", "de:ru:en"}, {"LANG", "de_DE.UTF-8"}}, "ru"},
      {{{"LANGUAGE", "de:fr"}, {"LANG", "ru_RU.UTF-8"}}, "ru"},
      {{{"LANGUAGE", "de:fr"}, {"LANG", "de_DE.UTF-8"}}, "en"},
      {{{"LANGUAGE", "en_US:ru"}}, "en"},
      {{{"LANGUAGE", ""}, {"LANG", "en_US.UTF-8"}}, "en"},
      // A list naming no language is as good as none.
      {{{"LANGUAGE", ":::"}}, "ru"},
      {{{"LANGUAGE", ":"}, {"LANG", "en_US.UTF-8"}}, "en"},
  };
  for (const TCase& c : cases) {
    std::string shown;
    for (const auto& [name, value] : c.Environment) shown += name + "=" + value + " ";
    SCOPED_TRACE(shown);
    const auto lookup = [&c](const char* name) -> const char* {
      const auto it = c.Environment.find(name);
      return it == c.Environment.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(LanguageOfEnvironment(lookup), c.Language);
  }
}

TEST_F(LanguageTest, EnglishTranslatesTheTextsAndNamesTheColumnsAToJ) {
  ASSERT_EQ(StartLanguage("en", BuiltCatalogues), "");
  EXPECT_EQ(GameLanguage(), "en");
  EXPECT_STREQ(Tr("Рестарт"), "Restart");
  EXPECT_EQ(CellName(0, 0), "A1");
  EXPECT_EQ(CellName(9, 9), "J10");
  EXPECT_EQ(CellName(8, 4), "I5");

  // Back in Russian, nothing of the catalogue is left.
  ASSERT_EQ(StartLanguage("ru", BuiltCatalogues), "");
  EXPECT_STREQ(Tr("Рестарт"), "Рестарт");
  EXPECT_EQ(CellName(9, 9), "К10");
  EXPECT_EQ(CellName(4, 0), "Д1");
}

TEST_F(LanguageTest, ACatalogueThatCannotBeUsedLeavesTheGameInRussianWithOneLine) {
  TScratchFolder scratch;
  const std::string folder = scratch.Path() + "locale/";
  const std::string file = folder + "en/LC_MESSAGES/kravelon.mo";
  std::vector<char> good;
  {
    std::ifstream in(BuiltCatalogues + "en/LC_MESSAGES/kravelon.mo", std::ios::binary);
    good.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  ASSERT_GT(good.size(), 28u);
  auto withWord = [&good](std::size_t at, std::uint32_t value) {
    std::vector<char> bytes = good;
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    return bytes;
  };
  struct TCase {
    const char* Name;
    std::optional<std::vector<char>> Bytes;  // none: no file at all
    const char* Says;
  };
  const TCase cases[] = {
      {"missing", std::nullopt, "Не найден перевод"},
      {"empty", std::vector<char>{}, "Поврежден перевод"},
      {"cut in half", std::vector<char>(good.begin(), good.begin() + good.size() / 2),
       "Поврежден перевод"},
      {"not a catalogue", std::vector<char>(good.size(), 'x'), "Поврежден перевод"},
      {"strings past the end", withWord(12, 0x7ffffff0u), "Поврежден перевод"},
      {"a count past the end", withWord(8, 0x10000000u), "Поврежден перевод"},
      {"a new major revision", withWord(4, 0x00010000u), "Поврежден перевод"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    fs::remove_all(folder);
    if (c.Bytes) {
      fs::create_directories(folder + "en/LC_MESSAGES");
      std::ofstream(file, std::ios::binary).write(c.Bytes->data(), static_cast<std::streamsize>(c.Bytes->size()));
    }
    const std::string line = StartLanguage("en", folder);
    EXPECT_EQ(line.find(c.Says), 0u) << line;
    EXPECT_NE(line.find(file), std::string::npos) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
    EXPECT_EQ(LanguageProblem(), line);
    EXPECT_EQ(GameLanguage(), "ru");
    EXPECT_STREQ(Tr("Рестарт"), "Рестарт");
    EXPECT_EQ(CellName(9, 9), "К10");
  }
  // The good catalogue, for contrast: the same folder then works.
  fs::remove_all(folder);
  fs::create_directories(folder + "en/LC_MESSAGES");
  std::ofstream(file, std::ios::binary).write(good.data(), static_cast<std::streamsize>(good.size()));
  EXPECT_EQ(StartLanguage("en", folder), "");
  EXPECT_STREQ(Tr("Рестарт"), "Restart");
}

TEST(TextForms, RussianNounsTakeTheirThreeFormsAndFillPutsValuesInOrder) {
  struct TCase {
    unsigned long N;
    const char* Form;
  };
  const TCase cases[] = {{0, "кораблей"},   {1, "корабль"},   {2, "корабля"},  {4, "корабля"},
                         {5, "кораблей"},   {11, "кораблей"}, {12, "кораблей"}, {14, "кораблей"},
                         {21, "корабль"},   {22, "корабля"},  {25, "кораблей"}, {101, "корабль"},
                         {111, "кораблей"}, {112, "кораблей"}, {1002, "корабля"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.N);
    EXPECT_STREQ(TrN("корабль", "корабля", "кораблей", c.N), c.Form);
  }
  EXPECT_EQ(Fill("%2 из %1, 100 %%", {"10", "3"}), "3 из 10, 100 %");
  EXPECT_EQ(Fill("%3 и %", {"a"}), " и %");
}

// The whole window in English, on the off-screen driver.
class EnglishWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    ASSERT_EQ(StartLanguage("en", BuiltCatalogues), "");
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    StartLanguage("ru", BuiltCatalogues);
  }
};

TEST_F(EnglishWindowTest, MenusStatisticsAndTheLogAreEnglishAndThePicturesTheEnglishOnes) {
  TRecordingMain* main = StartRecordingGame();
  ASSERT_TRUE(main->Paint->IsGraphicsReady());

  const std::vector<std::string> captions = {
      main->Menus.RestartItem.Caption,  main->Menus.ArrangeItem.Caption,
      main->Menus.SoundItem.Caption,    main->Menus.AboutItem.Caption,
      main->Menus.ExitItem.Caption,     main->Menus.ExitQuestionItem.Caption,
      main->Menus.YesItem.Caption,      main->Menus.NoItem.Caption,
      main->Menus.GameOverRestartItem.Caption, main->Menus.StatisticsItem.Caption,
      main->Menus.GameOverExitItem.Caption};
  const std::vector<std::string> english = {"Restart", "Arrange", "Sound", "About...", "Exit",
                                            "Exit?",   "Yes",     "No",    "Restart", "Statistics",
                                            "Exit"};
  EXPECT_EQ(captions, english);

  main->Menus.StatisticsItem.Click();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"The computer's hit rate: 0 %\n\n"
                                                "Games played: 0, won: 0, lost: 0\n"
                                                "The computer's hit rate over all games: 0 %"});

  const auto lines = Lines();
  for (const std::string& line : lines) EXPECT_FALSE(HasCyrillic(line)) << line;
  for (const char* picture : {"Images/en/About.jpg", "Images/en/Title.jpg"}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        std::string("Paint: JPEG picture loaded: ") + picture),
              lines.end())
        << picture;
  }
  // A picture without words is the one folder's for every language.
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Paint: JPEG picture loaded: Images/Ship.jpg"),
            lines.end());
  EXPECT_EQ(lines[lines.size() - 2], "Game: The player is placing the ships...");
  EXPECT_EQ(lines.back(), "Game: Opponent: Captain");
}

TEST_F(EnglishWindowTest, EveryCaptionInEitherLanguageFitsItsItemClearOfTheTick) {
  TRecordingMain* main = StartRecordingGame();
  TBitmap bitmap(256, 64);
  TCanvas& canvas = bitmap.Canvas;
  canvas.Font = main->Paint->MenuFont();
  for (const std::string language : {"en", "ru"}) {
    StartLanguage(language, BuiltCatalogues);
    const TGameMenus menus(*main);
    for (const TMenuItem* item :
         {&menus.RestartItem, &menus.ArrangeItem, &menus.SoundItem, &menus.AboutItem,
          &menus.ExitItem, &menus.ExitQuestionItem, &menus.YesItem, &menus.NoItem,
          &menus.GameOverRestartItem, &menus.StatisticsItem, &menus.GameOverExitItem}) {
      SCOPED_TRACE(language + ": " + item->Caption);
      EXPECT_GT(canvas.TextWidth(item->Caption), 0);
      // Centred in 256 × 64, with the 32 pixels at either side left to the sound switch's tick.
      EXPECT_LE(canvas.TextWidth(item->Caption), 256 - 2 * 32);
      EXPECT_LE(canvas.TextHeight(item->Caption), 64);
    }
  }
}

// The fleet keeps its full size clear of the widest sector the status line names, and the
// report's line to the final boards stands inside the panel's frame, under the result, in
// either language.
TEST_F(EnglishWindowTest, TheFleetAndTheReportsLineFitInEitherLanguage) {
  bool first = true;
  for (const std::string language : {"en", "ru"}) {
    SCOPED_TRACE(language);
    StartLanguage(language, BuiltCatalogues);
    Window.reset();
    TRecordingMain* main = first ? StartRecordingGame() : StartRecordingGameAgain();
    first = false;
    TCanvas measure;
    measure.Font = main->Paint->GetImage("SYS_CONSOL")->Canvas.Font;
    int widest = 0;
    for (int column = 0; column < BoardSize; ++column)
      for (int row = 0; row < BoardSize; ++row)
        widest = std::max(widest, measure.TextWidth(Tr("Сектор: ") + CellName(column, row)));
    const TRect fleet = main->Paint->FleetRect();
    EXPECT_GT(fleet.Left, ConsolePanelPos.X + StatusTextAt.X + widest);
    EXPECT_EQ(fleet.Width(), LayOutFleetPanel(FleetGroupsOf(*main->Engine, 1), 100000,
                                              measure.TextWidth(Tr("Противник:")))
                                 .Width);
    for (const TSide winner : {sdUser, sdComputer}) {
      Probe(*main->Engine).State = gsReport;
      Probe(*main->Engine).ActiveSide = winner;
      main->Paint->ResetReport();
      main->Paint->ShowReportPanel();
      main->Paint->DrawReportText();
      const TRect line = main->Paint->ReportBoardsLine();
      constexpr int Frame = 16;
      EXPECT_GE(line.Left, ReportPanelRect.Left + Frame);
      EXPECT_LE(line.Right, ReportPanelRect.Right - Frame);
      EXPECT_LE(line.Bottom, ReportPanelRect.Bottom);
      // No pixel of the result's yellow in the line's rows.
      const TCanvas& report = main->Paint->GetImage("IM_REPORT_TEXT")->Canvas;
      int yellow = 0;
      for (int y = line.Top; y < line.Bottom; ++y)
        for (int x = ReportPanelRect.Left; x < ReportPanelRect.Right; ++x) {
          const TColor c = report.Pixel(x, y);
          yellow += c.R > 200 && c.G > 200 && c.B < 80;
        }
      EXPECT_EQ(yellow, 0) << winner;
    }
  }
}

}  // namespace

}  // namespace kravelon
