// The main window and the player's files: which games go to the record and with what counts,
// what the statistics box makes of the record, and the sound and speech switches kept in the
// settings.
#include "GameEngine/GameEngineProbe.h"
#include "Main/Statistics.h"
#include "tests/unit/main/MainFixture.h"

namespace kravelon {

namespace {

class PlayerFilesTest : public MainWindowTest {
 protected:
  TMainOptions WithRecord() {
    TMainOptions options;
    options.Record = &Record;
    return options;
  }
  // The window with its pictures and sounds, keeping its switches in the settings file.
  TMain1& OpenWithSettings(const TMainOptions& options = {}) {
    Provide("Images");
    Provide("Sounds");
    TMainOptions kept = options;
    kept.Settings = &Settings;
    Window = std::make_unique<TRecordingMain>(std::move(kept));
    return *Window;
  }

  TScratchFolder Player;
  TRecordFile Record{Player.Path() + "data"};
  TSettingsFile Settings{Player.Path() + "config"};
};

TEST_F(PlayerFilesTest, OnlyAGamePlayedToItsEndIsRecordedWithBothSidesCounts) {
  TRecordingMain* main = StartRecordingGame(WithRecord());
  // The rules' tally of the game is what is kept.
  Probe(*Window->Engine).UserShots = 3;
  Probe(*Window->Engine).UserHits = 2;
  Probe(*Window->Engine).ComputerShots = 30;
  Probe(*Window->Engine).ComputerHits = 20;
  main->GameWon(sdComputer);
  ASSERT_EQ(Record.Games().size(), 1u);
  const TGameResult game = Record.Games()[0];
  EXPECT_FALSE(game.UserWon);
  EXPECT_EQ(std::tuple(game.UserShots, game.UserHits, game.ComputerShots, game.ComputerHits),
            std::tuple(3, 2, 30, 20));

  // One left by a restart leaves no trace.
  main->Menus.GameOverRestartItem.Click();
  Probe(*Window->Engine).UserShots = 1;
  main->Menus.RestartItem.Click();
  EXPECT_EQ(Record.Games().size(), 1u);
  TRecordFile onDisk(Player.Path() + "data");
  onDisk.Load();
  EXPECT_EQ(onDisk.Games(), Record.Games());
}

TEST_F(PlayerFilesTest, TheBoxAddsTheRecordBelowTheGameJustPlayed) {
  TRecordingMain* main = StartRecordingGame(WithRecord());
  // A game the user won: every cell of the fleet hit (the record keeps no game a board could not
  // give).
  Probe(*Window->Engine).UserShots = 20;
  Probe(*Window->Engine).UserHits = 20;
  Probe(*Window->Engine).ComputerShots = 40;
  Probe(*Window->Engine).ComputerHits = 10;
  main->GameWon(sdUser);
  main->Menus.StatisticsItem.Click();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, StatisticsText(40, 10, Summarize(Record.Games())));
  EXPECT_NE(Boxes[0].Text.find("Сыграно игр: 1, выиграно: 1, проиграно: 0"), std::string::npos)
      << Boxes[0].Text;
}

TEST(Statistics, SaysWhatTheRecordHolds) {
  struct TCase {
    TRecordSummary Record;
    std::string Expected;
  };
  const std::string today =
      "Процент попадания компютера составил: 25 %\n\nСыграно игр: 5, выиграно: 2, проиграно: 3\n"
      "Выстрелов в выигранной игре: меньше всего 41, в среднем 48\n"
      "Процент попадания компьютера за все игры: 37 %";
  const auto with = [](std::vector<std::pair<TLevel, TTally>> levels, TTally network,
                       std::vector<std::pair<TRules, TTally>> rules) {
    TRecordSummary record{5, 2, 3, 41, 48, 37};
    record.Levels = std::move(levels);
    record.Network = network;
    record.RuleSets = std::move(rules);
    return record;
  };
  const TRules touching{true, false, true};
  const TCase cases[] = {
      {{0, 0, 0, 0, 0, 0},
       "Процент попадания компютера составил: 25 %\n\nСыграно игр: 0, выиграно: 0, проиграно: 0\n"
       "Процент попадания компьютера за все игры: 0 %"},
      {{5, 2, 3, 41, 48, 37}, today},
      // Every game the captain's under the default rules: the text the box always had.
      {with({{lvCaptain, {5, 2, 3}}}, {}, {{TRules{}, {5, 2, 3}}}), today},
      // Another level alone: its line, and none for the rules, which are the game's own.
      {with({{lvAdmiral, {5, 2, 3}}}, {}, {{TRules{}, {5, 2, 3}}}),
       today + "\n\nАдмирал: сыграно 5, выиграно 2"},
      // The captain alone, under other rules: the rules are said.
      {with({{lvCaptain, {5, 2, 3}}}, {}, {{touching, {5, 2, 3}}}),
       today +
           "\n\nКапитан: сыграно 5, выиграно 2\n"
           "Правила (касание: вкл, залпы: выкл, выстрел за попадание: вкл): сыграно 5, выиграно 2"},
      {with({{lvCabinBoy, {1, 1, 0}}, {lvCaptain, {2, 0, 2}}}, {2, 1, 1},
            {{TRules{}, {4, 2, 2}}, {touching, {1, 0, 1}}}),
       today +
           "\n\nЮнга: сыграно 1, выиграно 1\nКапитан: сыграно 2, выиграно 0\n"
           "По сети: сыграно 2, выиграно 1, проиграно 1\n"
           "Обычные правила: сыграно 4, выиграно 2\n"
           "Правила (касание: вкл, залпы: выкл, выстрел за попадание: вкл): сыграно 1, выиграно 0"},
  };
  for (const TCase& c : cases) EXPECT_EQ(StatisticsText(8, 2, c.Record), c.Expected);
}

TEST_F(PlayerFilesTest, TheSoundSwitchStartsAsRememberedAndIsKeptWhenChanged) {
  TMainOptions options;
  options.SoundOn = false;
  TMain1* main = &OpenWithSettings(options);
  EXPECT_FALSE(main->Menus.SoundItem.Checked);
  main->Menus.SoundItem.Click();
  std::vector<std::string> notes;
  EXPECT_EQ(Settings.Load(notes).Sound(), true);
  main->Menus.SoundItem.Click();
  EXPECT_EQ(Settings.Load(notes).Sound(), false);
}

TEST_F(PlayerFilesTest, TheLevelStartsAsRememberedIsKeptWhenChosenAndGoesToTheRecord) {
  TMainOptions options = WithRecord();
  options.Level = lvSailor;
  OpenWithSettings(options);
  App->StepIdle();
  EXPECT_EQ(Window->Engine->Level(), lvSailor);
  EXPECT_TRUE(Window->Menus.LevelItems[1].Checked);
  Window->Menus.LevelItems[3].Click();
  std::vector<std::string> notes;
  EXPECT_EQ(Settings.Load(notes).Level(), lvAdmiral);
  Probe(*Window->Engine).UserShots = Probe(*Window->Engine).UserHits = 20;
  Window->GameWon(sdUser);
  ASSERT_EQ(Record.Games().size(), 1u);
  EXPECT_EQ(Record.Games()[0].Level, lvAdmiral);
}

TEST_F(PlayerFilesTest, TheSpeechSwitchIsKeptWhenCtrlSChangesIt) {
  // No daemon there: the switch is kept all the same, and nothing is started.
  setenv("SPEECHD_ADDRESS", ("unix_socket:" + Player.Path() + "no-daemon").c_str(), 1);
  OpenWithSettings();
  std::vector<std::string> notes;
  EXPECT_EQ(Settings.Load(notes).Speech(), std::nullopt);
  Window->ToggleSpeech();
  EXPECT_EQ(Settings.Load(notes).Speech(), true);
  Window->ToggleSpeech();
  EXPECT_EQ(Settings.Load(notes).Speech(), false);
  Window.reset();
  unsetenv("SPEECHD_ADDRESS");
}

}  // namespace

}  // namespace kravelon
