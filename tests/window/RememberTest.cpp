// What the game keeps between runs, with the player's folders in a scratch folder: the sound
// switch, the record of whole games and what the statistics box makes of it, a settings file
// the folder will not take, and the ordinary window.
#include <gtest/gtest.h>
#include <X11/Xatom.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/window/GameScreen.h"

namespace kravelon {

namespace {

namespace fs = std::filesystem;

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Every path under a folder, for a message.
std::string Listing(const std::string& folder) {
  std::string list;
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(folder, ignored))
    list += entry.path().string() + "\n";
  return list;
}

class Remember : public Gameplay {
 protected:
  void SetUp() override {
    Options.Player = PlayerScratch.Path();
    Gameplay::SetUp();
  }

  std::string ConfigFile() const { return Player + "config/kravelon/kravelon.ini"; }
  std::string RecordFile() const { return Player + "data/kravelon/record"; }

  // The games in the record file, one a line after the header and its comment.
  std::vector<std::string> RecordedGames() const {
    std::vector<std::string> games;
    std::istringstream in(ReadText(RecordFile()));
    std::string line;
    if (!std::getline(in, line) || line != "kravelon record 2") return games;
    while (std::getline(in, line))
      if (!line.starts_with('#')) games.push_back(line);
    return games;
  }

  // Quits from the main menu, or from the game-over menu once a game has ended.
  void Quit(bool over = false) {
    if (over) {
      OpenGameOverMenu();
      ChooseItem(OverItems, OverExit);
    } else {
      Menu(MainItems, MainExit);
    }
    ASSERT_TRUE(WaitForMenu(ExitItems));
    ChooseItem(ExitItems, ExitYes);
    ASSERT_EQ(Game->WaitForExit(10s), 0);
  }

  void StartAgain() {
    Game.reset();
    Start(Options);
  }

  // The computer arranges both fleets; the user fires at every cell in order until the record
  // gains the game.
  void PlayToTheEnd() {
    const std::size_t games = RecordedGames().size() + 1;
    Menu(MainItems, MainArrange);
    ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 30s));
    WaitForQuiet(300ms, 5s);
    for (int next = 0; next < 100 && RecordedGames().size() < games; ++next) {
      const TPoint cell = ComputerCell(next % 10, next / 10);
      const auto before = UserShots().size();
      // A click that falls into the tail of the computer's turn is ignored: click again.
      for (int attempt = 0; attempt < 5 && UserShots().size() == before; ++attempt) {
        ClickAt(cell.X + 16, cell.Y + 16);
        const auto until = std::chrono::steady_clock::now() + 3s;
        while (UserShots().size() == before && std::chrono::steady_clock::now() < until &&
               RecordedGames().size() < games)
          std::this_thread::sleep_for(10ms);
        if (RecordedGames().size() == games) break;
      }
      WaitForQuiet(900ms, 60s);
    }
    ASSERT_EQ(RecordedGames().size(), games) << (Shot().Save("/tmp/kravelon-remember.png"),
                                                 "see /tmp/kravelon-remember.png");
  }

  // F3, then the keys: Home, Down to the item, Return.
  void ChooseInGameMenu(int item) {
    X.Key("F3");
    ASSERT_TRUE(WaitForMenu(GameItems)) << "no game menu";
    X.Key("Home");
    for (int i = GameCabinBoy; i < item; ++i) X.Key("Down");
    X.Key("Return");
    ASSERT_TRUE(WaitForMenu(GameItems, false)) << "the game menu stayed open";
  }

  // Escape opens the game-over menu once the report is up.
  void OpenGameOverMenu() {
    const auto reportBy = std::chrono::steady_clock::now() + 12s;
    do {
      std::this_thread::sleep_for(500ms);
      X.Key("Escape");
    } while (!WaitForMenu(OverItems, true, 300ms) && std::chrono::steady_clock::now() < reportBy);
    EXPECT_TRUE(WaitForMenu(OverItems)) << "no game-over menu";
  }

  // The statistics box, from the game-over menu; its lines.
  std::vector<std::string> StatisticsBox() {
    OpenGameOverMenu();
    ChooseItem(OverItems, OverStatistics);
    EXPECT_TRUE(X.WaitForWindow("Кравелон", 3s)) << "no statistics box";
    const std::vector<std::string> box = Game->BoxLines();
    X.Key("Return");
    return box;
  }

  TScratchFolder PlayerScratch;
  const std::string Player = PlayerScratch.Path();
};

TEST_F(Remember, TheSoundSwitchIsAsThePlayerLeftItAtTheNextStart) {
  Menu(MainItems, MainSound);
  Quit();
  EXPECT_NE(ReadText(ConfigFile()).find("sound = false"), std::string::npos) << ReadText(ConfigFile());
  // Nothing but the settings: no record before a game is finished, nothing in the home folder.
  EXPECT_FALSE(fs::exists(Player + "data")) << Listing(Player);
  EXPECT_TRUE(fs::is_empty(Player + "home")) << Listing(Player + "home");

  Options.DiskAudio = true;
  StartAgain();
  ClickAt(UserCell(0, 0).X + 16, UserCell(0, 0).Y + 16);  // a ship goes down, silently
  ASSERT_TRUE(WaitForTile(UserCell(0, 0), Ship, 3s));
  std::this_thread::sleep_for(600ms);
  const std::string audio = ReadText(Game->AudioFile());
  EXPECT_TRUE(std::all_of(audio.begin(), audio.end(), [](char c) { return c == 0; }))
      << "the placing sound was heard";
}

// Two whole games in two runs. The first run finds a record that is not ours: it is moved aside
// at the first write and the game goes on; the box then counts the two games, as the file does.
// The level chosen in the game menu with the keys: the placement starts again against it, the
// settings keep it for the next start, and --level overrides it for one run.
TEST_F(Remember, TheLevelChosenInTheGameMenuIsKeptAndTheOptionOverridesIt) {
  EXPECT_TRUE(Game->WaitForLine("Game: Противник: Капитан", 3s));
  ChooseInGameMenu(GameAdmiral);
  ASSERT_TRUE(Game->WaitForLine("Game: Противник: Адмирал", 3s));
  EXPECT_NE(ReadText(ConfigFile()).find("level = admiral"), std::string::npos)
      << ReadText(ConfigFile());
  Quit();

  StartAgain();
  EXPECT_TRUE(Game->WaitForLine("Game: Противник: Адмирал", 3s));
  Quit();

  Options.Arguments = {"--level", "sailor"};
  StartAgain();
  EXPECT_TRUE(Game->WaitForLine("Game: Противник: Матрос", 3s));
  Quit();
  EXPECT_NE(ReadText(ConfigFile()).find("level = admiral"), std::string::npos)
      << ReadText(ConfigFile());
}

TEST_F(Remember, TheHouseRulesChosenInTheGameMenuAreKeptAndNamedByTheNextGames) {
  ASSERT_TRUE(Game->WaitForLine("Game: Противник: Капитан", 3s));
  // While the fleet is being placed the game starts again at once by the new rules.
  ChooseInGameMenu(GameSalvo);
  ASSERT_TRUE(WaitForGames(2)) << "the placement did not start again";
  EXPECT_TRUE(Game->WaitForLine("Game: Правила: залп", 3s));
  // In battle the change waits for the next game, and says so.
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 30s));
  ChooseInGameMenu(GameTouching);
  EXPECT_TRUE(Game->WaitForLine("Game: Следующая партия: правила: корабли могут касаться, залп", 3s));
  const std::string settings = ReadText(ConfigFile());
  EXPECT_NE(settings.find("salvo = true"), std::string::npos) << settings;
  EXPECT_NE(settings.find("touching = true"), std::string::npos) << settings;
  Quit();

  StartAgain();
  EXPECT_TRUE(Game->WaitForLine("Game: Правила: корабли могут касаться, залп", 3s));
  Quit();
  // The command line overrides a setting for its run only.
  Options.Arguments = {"--salvo=no"};
  StartAgain();
  EXPECT_TRUE(Game->WaitForLine("Game: Правила: корабли могут касаться", 3s));
  Quit();
  EXPECT_NE(ReadText(ConfigFile()).find("salvo = true"), std::string::npos);
}

TEST_F(Remember, TwoWholeGamesAreCountedInTheStatisticsBoxAndTheRecord) {
  Quit();
  fs::create_directories(Player + "data/kravelon");
  std::ofstream(RecordFile()) << "garbage, not a record\n";
  StartAgain();
  PlayToTheEnd();
  const auto lines = Game->ConsoleLines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) {
              return l.starts_with("Файл статистики \"" + RecordFile() + "\" не читается");
            }),
            1);
  Quit(true);
  StartAgain();
  PlayToTheEnd();
  const auto box = StatisticsBox();

  const auto games = RecordedGames();
  ASSERT_EQ(games.size(), 2u);
  const long won = std::count_if(games.begin(), games.end(), [](const std::string& g) {
    return g.find(" captain extra-shot won ") != std::string::npos;
  });
  ASSERT_GE(box.size(), 3u) << ::testing::PrintToString(box);
  EXPECT_TRUE(box[0].starts_with("Процент попадания компютера составил: ")) << box[0];
  EXPECT_EQ(box[2], "Сыграно игр: 2, выиграно: " + std::to_string(won) + ", проиграно: " +
                        std::to_string(2 - won));
  bool movedAside = false;
  for (const auto& entry : fs::directory_iterator(Player + "data/kravelon"))
    movedAside |= entry.path().filename().string().starts_with("record.damaged-") &&
                  ReadText(entry.path()) == "garbage, not a record\n";
  EXPECT_TRUE(movedAside) << Listing(Player);
  EXPECT_TRUE(fs::is_empty(Player + "home")) << Listing(Player + "home");
}

// A settings file the folder will not take: one console line, and the game plays on.
class UnwritableSettings : public Gameplay, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    const std::string where = GetParam();
    if (where == "folder") {
      fs::create_directories(PlayerScratch.Path() + "config/kravelon/kravelon.ini");
      Options.Player = PlayerScratch.Path();
    } else {
      Options.Environment = {"XDG_CONFIG_HOME=/proc/kravelon-test"};  // not even root writes there
    }
    Gameplay::SetUp();
  }
  TScratchFolder PlayerScratch;
};

TEST_P(UnwritableSettings, TheGamePlaysOnWithOneConsoleLine) {
  Menu(MainItems, MainSound);
  Menu(MainItems, MainSound);
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 30s));
  const auto lines = Game->ConsoleLines();
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& l) { return l.starts_with("Настройки: не удалось записать"); }),
            1);
}

INSTANTIATE_TEST_SUITE_P(Places, UnwritableSettings, ::testing::Values("folder", "proc"));

// The ordinary window, asked for by the setting or the command line (which wins for its run).
struct TWindowCase {
  const char* Setting;  // the [game] section's windowed key, or nothing
  std::vector<std::string> Arguments;
  bool Ordinary;
  friend void PrintTo(const TWindowCase& c, std::ostream* out) {
    *out << "setting " << (c.Setting ? c.Setting : "none");
    for (const std::string& argument : c.Arguments) *out << ' ' << argument;
  }
};

std::string WindowCaseName(const ::testing::TestParamInfo<TWindowCase>& info) {
  const char* const names[] = {"Default", "Option", "Setting", "OptionOverSetting"};
  return names[info.index];
}

class WindowKind : public RunningGame, public ::testing::WithParamInterface<TWindowCase> {
 protected:
  void SetUp() override {
    if (GetParam().Setting) {
      fs::create_directories(PlayerScratch.Path() + "config/kravelon");
      std::ofstream(PlayerScratch.Path() + "config/kravelon/kravelon.ini")
          << "[game]\nwindowed = " << GetParam().Setting << "\n";
    }
    Options.Player = PlayerScratch.Path();
    Options.Arguments = GetParam().Arguments;
    // SDL sets the hint only where a window manager has made its atom; Xvfb runs none.
    XInternAtom(X.Connection(), "_MOTIF_WM_HINTS", False);
    XSync(X.Connection(), False);
    RunningGame::SetUp();
  }

  // What the window asks the window manager for: decorations (a title bar and a frame) or none.
  std::optional<bool> Decorated(Window window) {
    Display* dpy = X.Connection();
    const Atom hints = XInternAtom(dpy, "_MOTIF_WM_HINTS", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, window, hints, 0, 5, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success || !data || count < 3) {
      if (data) XFree(data);
      return std::nullopt;
    }
    const bool decorated = reinterpret_cast<unsigned long*>(data)[2] != 0;
    XFree(data);
    return decorated;
  }

  TScratchFolder PlayerScratch;
};

TEST_P(WindowKind, AnOrdinaryWindowHasAFrameAndNoBlackBackdrop) {
  const auto main = X.FindWindow(MainCaption);
  ASSERT_TRUE(main);
  EXPECT_EQ(main->Frame.Width(), 696);
  EXPECT_EQ(Decorated(main->Id), GetParam().Ordinary);
  bool backdrop = false;
  for (const auto& w : X.Windows()) backdrop |= w.Mapped && w.Frame.Width() == 1024 && w.Frame.Height() == 768;
  EXPECT_EQ(backdrop, !GetParam().Ordinary);
}

INSTANTIATE_TEST_SUITE_P(Settings, WindowKind,
                         ::testing::Values(TWindowCase{nullptr, {}, false},
                                           TWindowCase{nullptr, {"--windowed"}, true},
                                           TWindowCase{"true", {}, true},
                                           TWindowCase{"true", {"--windowed=no"}, false}),
                         WindowCaseName);

}  // namespace

}  // namespace kravelon
