// What the game says, through the real libspeechd, to a recording stand-in for speech-dispatcher:
// the target, a shot, a menu and a box, in Russian and in English.
#include <SDL.h>

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "Common/Text.h"
#include "Media/Language.h"
#include "GameEngine/GameEngineProbe.h"
#include "Toolkit/Keys.h"
#include "tests/support/SsipStandIn.h"
#include "tests/unit/main/MainFixture.h"
#include "tests/unit/rules/RulesTestSupport.h"

namespace kravelon {

namespace {

struct TLanguage {
  const char* Code;
  std::map<std::string, std::string> Said;  // what each step must say
};

const TLanguage Languages[] = {
    {"ru",
     {{"first arrow", "А1, корабль в 4 клетки по вертикали встанет"},
      {"next arrow", "Б1, корабль в 4 клетки по вертикали встанет"},
      {"miss", "А1, промах"},
      {"hit", "А1, попадание"},
      {"fleets", "Ваших кораблей на плаву: 10 из 10 (длиной 4: 1, длиной 3: 2, длиной 2: 3, "
                 "длиной 1: 4). Потоплено кораблей компьютера: 0 из 10 (нет)."},
      {"menu opens", "Меню: Рестарт; Расставить; Звук, выключен; Об игре...; Выход"},
      {"sound item", "Звук, выключен"},
      {"keys box start", "Стрелки: выбрать сектор\n"},
      {"corner", "А1"},
      {"keys box", "Ctrl+S: включить или выключить речь\nF2: сводка флотов вслух"},
      {"unfound", "Не найдены: четырехпалубный А1–Г1, трехпалубный А3–В3, однопалубный К5."},
      {"lost", "Вы проиграли..."},
      {"all sunk", "Все корабли противника потоплены."}}},
    {"en",
     {{"first arrow", "A1, a 4-cell ship fits down"},
      {"next arrow", "B1, a 4-cell ship fits down"},
      {"miss", "A1, miss"},
      {"hit", "A1, hit"},
      {"fleets", "Your ships afloat: 10 of 10 (length 4: 1, length 3: 2, length 2: 3, "
                 "length 1: 4). Computer's ships sunk: 0 of 10 (none)."},
      {"menu opens", "Menu: Restart; Arrange; Sound, off; About...; Exit"},
      {"sound item", "Sound, off"},
      {"keys box start", "Arrows: choose a sector\n"},
      {"corner", "A1"},
      {"keys box", "Ctrl+S: speech on or off\nF2: both fleets aloud"},
      {"unfound", "Not found: four-deck ship A1–D1, three-deck ship A3–C3, one-deck ship J5."},
      {"lost", "You lost..."},
      {"all sunk", "All of the opponent's ships were sunk."}}},
};

class Narration : public MainWindowTest, public ::testing::WithParamInterface<TLanguage> {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    setenv("SPEECHD_ADDRESS", Daemon.Address().c_str(), 1);
    // The game's own catalogue, as the build compiles it.
    ASSERT_EQ(StartLanguage(GetParam().Code, KRAVELON_LOCALE_DIR), "");
    Provide("Images");
    Provide("Sounds");
    TMainOptions options;
    options.Speech = TSpeechChoice::On;
    options.Language = GetParam().Code;
    auto window = std::make_unique<TMain1>(std::move(options));
    Main = window.get();
    Window = std::move(window);
    App->MainForm = Main;
    App->StepIdle();
    Main->Menus.SoundItem.Checked = false;
  }
  void TearDown() override {
    MainWindowTest::TearDown();
    unsetenv("SPEECHD_ADDRESS");
    StartLanguage("ru", KRAVELON_LOCALE_DIR);
  }

  std::string Said(const char* step) const { return GetParam().Said.at(step); }
  void Key(int key) { Main->FormKeyDown(key); }

  // The newest text said at `priority` comes to be `text`, in the game's language.
  ::testing::AssertionResult LastSaid(const std::string& text, const std::string& priority) {
    std::string last, voice;
    for (int i = 0; i < 300; ++i) {
      for (const TSpokenText& t : Daemon.Spoken()) {
        if (t.Priority == priority) last = t.Text, voice = t.Language;
      }
      if (last == text) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (last != text) return ::testing::AssertionFailure() << "last said: " << last;
    if (voice != GetParam().Code) return ::testing::AssertionFailure() << "voice: " << voice;
    return ::testing::AssertionSuccess();
  }

  // Both fleets arranged at random, the user to fire.
  void StartBattle() {
    Main->ArrangeClick();
    for (int i = 0; i < 5000 && Main->Engine->State() != gsBattle; ++i) App->StepIdle();
    ASSERT_EQ(Main->Engine->State(), gsBattle);
  }

  static void PushKey(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
  }

  TSsipStandIn Daemon;
  TMain1* Main = nullptr;
};

TEST_P(Narration, EachMoveOfTheTargetSaysTheSectorAndWhetherTheShipFits) {
  Key(VK_RIGHT);  // the first arrow shows the target where it was: А1
  EXPECT_TRUE(LastSaid(Said("first arrow"), "text"));
  Key(VK_RIGHT);
  EXPECT_TRUE(LastSaid(Said("next arrow"), "text"));
}

TEST_P(Narration, AShotIsSaidAsTheConsoleWritesItAndTheSectorThenSaysWhatItHolds) {
  StartBattle();
  Key(VK_F2);
  EXPECT_TRUE(LastSaid(Said("fleets"), "text"));
  Key(VK_HOME);
  for (int i = 0; i < 9; ++i) Key(VK_UP);
  Key(VK_SPACE);  // fires at А1
  const std::string line = std::string(Main->Consol->Line(Main->Consol->Count() - 1));
  ASSERT_NE(line.find(Said("corner")), std::string::npos) << line;
  // The console's tag is not said.
  EXPECT_TRUE(Daemon.WaitForSpoken(line.substr(line.find(": ") + 2)));
  EXPECT_EQ(Daemon.Spoken().back().Priority, "message");
  // A miss hands the turn over; the player's turn again, the target comes back to А1.
  const bool hit = !Main->Engine->ReadCell(0, 0, 1).Empty;
  App->ClearIdle();
  Probe(*Main->Engine).ActiveSide = sdUser;
  Key(VK_RIGHT);
  Key(VK_LEFT);
  EXPECT_TRUE(LastSaid(Said(hit ? "hit" : "miss"), "text"));
}

TEST_P(Narration, TheMenuIsSaidAsItOpensAndEachItemAsTheHighlightReachesIt) {
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  PushKey(SDLK_ESCAPE);
  Main->ShowMenu(Main->Menus.MainMenu);
  EXPECT_TRUE(LastSaid(Said("menu opens"), "text"));
  for (SDL_Keycode key : {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_ESCAPE}) PushKey(key);
  Main->ShowMenu(Main->Menus.MainMenu);
  EXPECT_TRUE(LastSaid(Said("sound item"), "text"));
}

TEST_P(Narration, ABoxIsSaidWhole) {
  Key(VK_F1);
  ASSERT_EQ(Boxes.size(), 1u);
  ASSERT_TRUE(Daemon.WaitForSpoken(Said("keys box")));
  const TSpokenText said = Daemon.Spoken().back();
  EXPECT_EQ(said.Priority, "message");
  EXPECT_EQ(said.Text.rfind(Said("keys box start"), 0), 0u) << said.Text;
}

// Tab on a lost game's report says where the opponent's ships nobody sank stood, longest first
// as they were placed; back on the report, the result again.
TEST_P(Narration, TheFinalBoardsSayWhereTheShipsNobodySankStood) {
  PutLegalFleet(*Main->Engine, sdComputer);
  for (int i : {1, 3, 4, 5, 6, 7, 8}) {
    const TShipAt& ship = LegalFleet[i];
    for (int k = 0; k < ship.Length; ++k) MarkFired(*Main->Engine, sdComputer, ship.Column + k, ship.Row);
  }
  MarkFired(*Main->Engine, sdComputer, 0, 0);  // the four, hit but afloat
  Probe(*Main->Engine).State = gsReport;
  Probe(*Main->Engine).ActiveSide = sdComputer;
  Main->Paint->ShowReportPanel();
  Main->Paint->DrawReportText();
  Key(VK_TAB);
  EXPECT_TRUE(LastSaid(Said("unfound"), "text"));
  Key(VK_TAB);
  EXPECT_TRUE(LastSaid(Said("lost"), "text"));
  for (const TShipAt& ship : LegalFleet)
    for (int k = 0; k < ship.Length; ++k) MarkFired(*Main->Engine, sdComputer, ship.Column + k, ship.Row);
  Key(VK_TAB);
  EXPECT_TRUE(LastSaid(Said("all sunk"), "text"));
}

// A controller's X is F2.
TEST_P(Narration, TheControllersXSaysBothFleets) {
  StartBattle();
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // the off-screen window has no focus
  const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                              SDL_CONTROLLER_BUTTON_MAX, 0);
  ASSERT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  App->ProcessMessages();
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_X, 1);
  App->ProcessMessages();
  EXPECT_TRUE(LastSaid(Said("fleets"), "text"));
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(index);
}

INSTANTIATE_TEST_SUITE_P(Languages, Narration, ::testing::ValuesIn(Languages),
                         [](const auto& info) { return std::string(info.param.Code); });

// The player's switch against a daemon that goes away and comes back: one line as it goes, the
// switch left as the player set it; Ctrl+S then turns it off (not "unavailable" once more), and on
// again connects and says speech is back.
TEST(NarratorSwitch, FollowsThePlayerWhateverTheDaemonDoes) {
  TSsipStandIn daemon;
  setenv("SPEECHD_ADDRESS", daemon.Address().c_str(), 1);
  std::mutex lock;
  std::vector<std::function<void()>> posted;
  const auto until = [&](auto done) {
    for (int i = 0; i < 500 && !done(); ++i) {
      std::vector<std::function<void()>> work;
      {
        const std::lock_guard<std::mutex> hold(lock);
        work.swap(posted);
      }
      for (auto& w : work) w();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
  };
  std::vector<std::string> lines;
  TNarrator narrator(
      TSpeechChoice::On, "ru", [&](const std::string& line) { lines.push_back(line); },
      [&](std::function<void()> work) {
        const std::lock_guard<std::mutex> hold(lock);
        posted.push_back(std::move(work));
        return true;
      });
  narrator.Line("Game: первая");
  ASSERT_TRUE(daemon.WaitForSpoken("первая"));
  daemon.Drop();
  ASSERT_TRUE(until([&] { return !lines.empty(); }));
  narrator.Focus("А1");
  EXPECT_TRUE(narrator.On());
  daemon.Resume();
  narrator.Toggle();
  EXPECT_FALSE(narrator.On());
  narrator.Toggle();
  EXPECT_TRUE(narrator.On());
  ASSERT_TRUE(until([&] { return lines.size() >= 4; }));
  EXPECT_EQ(lines, (std::vector<std::string>{"Речь прервалась: speech-dispatcher перестал отвечать.",
                                             "Речь выключена", "Речь включена", "Речь снова доступна."}));
  narrator.Focus("Б2");
  EXPECT_TRUE(daemon.WaitForSpoken("Б2"));
  EXPECT_FALSE(daemon.WaitForSpoken("А1", std::chrono::milliseconds(0)));
  unsetenv("SPEECHD_ADDRESS");
}

}  // namespace

}  // namespace kravelon
