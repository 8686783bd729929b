// The main window's start-up and shut-down.
#include <algorithm>
#include <fstream>

#include "tests/unit/main/MainFixture.h"

namespace kravelon {

namespace {

TEST_F(MainWindowTest, StartUpRunsOnceAndLogsInOrder) {
  Provide("Images");
  Provide("Sounds");
  Window = std::make_unique<TMain1>();
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Кравелон версия 1.2"}));
  EXPECT_TRUE(App->HasIdle());
  EXPECT_FALSE(Window->Paint->IsGraphicsReady());
  EXPECT_EQ(Window->ClientWidth(), 696);
  EXPECT_EQ(Window->ClientHeight(), 488);

  App->StepIdle();
  EXPECT_FALSE(App->HasIdle());
  EXPECT_TRUE(Window->Paint->IsGraphicsReady());
  EXPECT_TRUE(Window->IsPlacementByMouse());
  EXPECT_EQ(Window->Engine->State(), gsPlacing);
  EXPECT_TRUE(Pauses.empty());

  const auto lines = Lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines.front(), "Кравелон версия 1.2");
  // The first game says whom it is played against last.
  const std::vector<std::string> tail{"Инициализация меню...", "Инициализация меню завершена.",
                                      "Game: Сброс игры", "Game: Пользователь расставляет корабли...",
                                      "Game: Противник: Капитан"};
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), lines.end() - 5)) << lines[lines.size() - 5];
  // The painter's lines come before the sound bank's, and both before the menu lines.
  auto firstSound = std::find_if(lines.begin(), lines.end(),
                                 [](const std::string& l) { return l.starts_with("Sound: "); });
  auto lastPaint = std::find_if(lines.rbegin(), lines.rend(),
                                [](const std::string& l) { return l.starts_with("Paint: "); });
  ASSERT_NE(firstSound, lines.end());
  ASSERT_NE(lastPaint, lines.rend());
  EXPECT_LE(lastPaint.base() - lines.begin(), firstSound - lines.begin());
  // Everything logged before drawing could start also went to the hidden memo.
  EXPECT_EQ(Window->Consol->EarlyLines(), lines);
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
  EXPECT_TRUE(Window->Paint->IsGraphicsReady());
  for (const auto& l : Lines()) EXPECT_FALSE(l.starts_with("Sound: ")) << l;
}

TEST_F(MainWindowTest, WithoutImagesTheWindowShowsOneBoxAndStartUpNeverRuns) {
  Provide("Sounds");
  Window = std::make_unique<TMain1>();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Не могу найти папку \"Images\"."});
  EXPECT_EQ(Lines(), (std::vector<std::string>{"Кравелон версия 1.2", "Не могу найти папку \"Images\"."}));
  EXPECT_TRUE(App->Terminated());
  EXPECT_FALSE(App->HasIdle());
}

// What stands in place of a picture: a folder, or a header claiming 60000 × 60000.
TEST_F(MainWindowTest, AnUnusablePictureEndsStartUpWithABoxNamingIt) {
  struct TCase {
    const char* File;
    bool Folder;
    std::size_t WidthAt, HeightAt;  // little-endian 32-bit fields of a bitmap header
  };
  const TCase cases[] = {
      {"Images/Miss.jpg", true, 0, 0},
      {"Images/Border.bmp", true, 0, 0},
      {"Images/Border.bmp", false, 18, 22},
      {"Images/Report.bmp", false, 18, 22},
  };
  for (const TCase& c : cases) {
    Provide("Images");
    Provide("Sounds");
    const std::string full = Folder + c.File;
    if (c.Folder) {
      std::filesystem::remove(full);
      std::filesystem::create_directory(full);
    } else {
      std::fstream file(full, std::ios::in | std::ios::out | std::ios::binary);
      const char huge[4] = {'\x60', '\xEA', 0, 0};  // 60000
      file.seekp(static_cast<std::streamoff>(c.WidthAt)).write(huge, 4);
      file.seekp(static_cast<std::streamoff>(c.HeightAt)).write(huge, 4);
    }
    Window = std::make_unique<TMain1>();
    App->StepIdle();
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Не удалось загрузить изображение\r\n\"" + full + "\""})
        << c.File;
    EXPECT_TRUE(App->Terminated());
    EXPECT_FALSE(App->HasIdle());
    EXPECT_FALSE(Window->Paint->IsGraphicsReady());
    Window.reset();
    NewApplication();
    Boxes.clear();
    std::filesystem::remove_all(Folder + "Images");
    std::filesystem::remove_all(Folder + "Sounds");
  }
}

// A readable but damaged about picture goes the same way: one box, then the program ends.
TEST_F(MainWindowTest, ADamagedAboutPictureEndsStartUpWithABoxNamingIt) {
  Provide("Images");
  Provide("Sounds");
  const std::string about = Folder + "Images/About.jpg";
  {
    std::fstream file(about, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(0, std::ios::end);
    const std::streamoff middle = file.tellg() / 2;
    char byte = 0;
    file.seekg(middle).read(&byte, 1);
    byte = static_cast<char>(byte ^ 0x01);
    file.seekp(middle).write(&byte, 1);
  }
  Window = std::make_unique<TMain1>();
  App->StepIdle();
  ASSERT_EQ(BoxTexts(), std::vector<std::string>{"Поврежден файл\r\n\"" + about + "\""});
  EXPECT_EQ(Boxes[0].Caption, "Кравелон");
  EXPECT_TRUE(App->Terminated());
  EXPECT_FALSE(App->HasIdle());
  EXPECT_FALSE(Window->Paint->IsGraphicsReady());
}

TEST_F(MainWindowTest, ACursorClaimingAHugeSizeIsLoggedAsMissingAndTheGameComesUp) {
  Provide("Images");
  Provide("Sounds");
  const std::string cursor = Folder + "Images/CURSOR.CUR";
  {
    // The bitmap header of the first image: 60000 wide, twice 60000 high (colour rows and mask).
    std::fstream file(cursor, std::ios::in | std::ios::out | std::ios::binary);
    const char width[4] = {'\x60', '\xEA', 0, 0}, height[4] = {'\xC0', '\xD4', 1, 0};
    file.seekp(26).write(width, 4);
    file.seekp(30).write(height, 4);
  }
  Window = std::make_unique<TMain1>();
  App->StepIdle();
  EXPECT_TRUE(Window->Paint->IsGraphicsReady());
  EXPECT_TRUE(Boxes.empty());
  const auto lines = Lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Paint: Файл \"" + cursor + "\" не найден."),
            lines.end());
}

TEST_F(MainWindowTest, ShutDownStopsWhatWouldCallBackIntoTheWindow) {
  Provide("Images");
  Provide("Sounds");
  Window = std::make_unique<TMain1>();
  App->StepIdle();
  // Mid-game: the computer arranging its fleet (an idle step) and the report timer running.
  Window->InstallIdle(TIdleStep::Arrange);
  Window->ReportTimer.SetEnabled(true);
  Window->ShutDown();
  EXPECT_FALSE(App->HasIdle());
  EXPECT_FALSE(Window->ReportTimer.Enabled());
  Window.reset();  // the window goes with all it owns, in their order
}

}  // namespace

}  // namespace kravelon
