#pragma once
// The main window: owns the engine, the console, the painter, the backdrop and the sound bank;
// runs start-up and shut-down and turns input into game actions.
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/GameHost.h"
#include "GameEngine/RandomSource.h"
#include "Main/CommandLine.h"
#include "Main/GameMenus.h"
#include "Main/Narrator.h"
#include "Main/NetState.h"
#include "Main/Target.h"
#include "Media/Paint/Paint.h"
#include "Media/Sound/Sound.h"
#include "Store/RecordFile.h"
#include "Store/Settings.h"
#include "Toolkit/Form.h"
#include "Toolkit/GameControllers.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Timer.h"

namespace kravelon {

// What the program entry tells the main window: the kind of window, the sound switch as the
// player left it, and where a changed setting and a finished game are kept.
struct TMainOptions {
  // A decorated window the player may move, without the black backdrop and not kept on top.
  bool Windowed = false;
  bool SoundOn = true;
  TSettingsFile* Settings = nullptr;  // none: a changed setting lasts for the run only
  TRecordFile* Record = nullptr;      // none: the statistics know this run's games only
  std::vector<std::string> Notes;     // console lines from reading the settings
  // Speech as the command line or the settings ask; with neither, the screen reader decides.
  TSpeechChoice Speech = TSpeechChoice::Off;
  std::string Language = "ru";  // the game's, for the voice (ISO 639)
  TLevel Level = DefaultLevel;  // the computer's, from the first game on
  TRules Rules;                 // the house rules, from the first game on
  // The network game: the player's name in it (Network.Name), where hosting listens, whether
  // games are announced and searched for; and a game to host or join from the start.
  TNetConfig Network;
  std::optional<std::uint16_t> HostPort;  // 0: any free port (the tests)
  std::optional<TAddress> Join;
};

class TMain1 : public TForm, public TGameHost {
  // The engine's random source when KRAVELON_SEED names one (the window tests replay a game);
  // the engine's own otherwise. Declared first: it outlives the engine.
  std::unique_ptr<TRandomSource> SeededRandom;

 public:
  explicit TMain1(TMainOptions options = {});  // constructor, then PrepareStartUp
  ~TMain1() override;

  // Whether the mouse places the user's ships now (not during an arrangement).
  bool IsPlacementByMouse() const { return PlacementByMouse; }

  // The objects the window owns, one of each; the others reach them through the references they
  // were given. The constructor makes them in the order engine, console, painter, backdrop,
  // sound bank. They are declared in the reverse of the order they go in when the window does:
  // the painter first (it holds the engine and the console), the sound bank last.
  std::unique_ptr<TSound> Sound;
  std::unique_ptr<TForm> Backdrop;
  std::unique_ptr<TConsol> Consol;
  std::unique_ptr<TGameEngine> Engine;
  std::unique_ptr<TPaint> Paint;

  TTimer ReportTimer;
  // What the game says aloud; the speaker's news reach it through the application's Post.
  std::unique_ptr<TNarrator> Narrator;
  void ToggleSpeech();  // Ctrl+S
  // Whether speech is on: what would be said is made only then (a pointer move makes a word).
  bool Speaks() const { return Narrator && Narrator->On(); }
  TSpeedButton MenuButton;
  TSpeedButton GameMenuButton;  // "ИГРА" at the title strip's right end
  // Game controllers, whose buttons are keys of this window (GameControllers.h).
  TGameControllers Controllers{*this};

  // From the constructor: checks the asset folders, sizes and centres the window and leaves the
  // rest of start-up to the first idle moment.
  void PrepareStartUp();
  // That idle step: runs StartUp once, whatever it raises.
  void StartUpWhenIdle(bool& done);
  // Loads and builds everything and starts the first game. A failure the player must see (a
  // picture missing or damaged) raises TFileError, which StartUpWhenIdle shows before the
  // program ends.
  void StartUp();
  void SetupBackdrop();
  void FormPaint();
  // From the destructor (tests call it earlier): stops whatever would call back into the window.
  void ShutDown();
  void FormKeyPress(char& key);
  void FormKeyDown(int& key);

  // The record of finished games the statistics box sums up.
  const TRecordFile& Record() const { return Options.Record ? *Options.Record : RunRecord; }

  // Input dispatch by game state.
  std::string SectorName() const;
  void FormMouseMove(int x, int y);
  void FormMouseDown(TMouseButton button);
  void FormMouseWheelDown();
  void FormMouseWheelUp();
  void MenuButtonClick();
  void GameMenuButtonClick();
  void ReportTimerTick();

  // The popup menus (GameMenus.h) and what their items do (MenuHandlers.cpp).
  TGameMenus Menus{*this};
  void PrepareMenu(TPopupMenu& menu);
  TPoint ScreenCenter() const { return ScreenCenterPoint; }
  // Opens a menu in the middle of the screen; returns when it has closed.
  virtual void ShowMenu(TPopupMenu& menu);
  void MeasureMenuItem(TMenuItem& sender, TCanvas& canvas, int& width, int& height);
  void DrawMenuItem(TMenuItem& sender, TCanvas& canvas, const TRect& rect, bool selected);
  void RestartClick();
  // A new game at once: both boards empty, whatever step was installed removed.
  void NewGameNow();
  void LevelClick(TLevel level);              // a level of the game menu
  void RuleClick(TRuleSwitch rule, bool on);  // a house rule's switch of the game menu
  // The game menu's network items: hosting on and off; joining (a menu of the games found on
  // the local network) or, while a network game is on, leaving it.
  void HostClick();
  void JoinClick();
  void ArrangeClick();
  void AboutClick();
  void ExitClick();
  void ConfirmExitClick();
  void ShowStatistics();

  // The user's placement and shot at a cell (of the user's board, of the computer's), and the
  // end of a game. Nothing happens with no cell.
  void SetupShip(std::optional<TPoint> cell, bool place);
  void UserShot(std::optional<TPoint> cell);
  void EndOfGame();
  // The engine's step in the application's idle slot; None empties the slot.
  void InstallIdle(TIdleStep step);

  // The network game (NetGame.cpp): joining a host, leaving the game on, the events the
  // connection brings (handled in order, never while a menu or a box is open).
  void JoinGame(const std::string& host, std::uint16_t port);
  void LeaveNetGame(TByeReason reason);
  void NetEventArrived(const TNetEvent& event);
  bool Hosting() const { return Net.Hosting; }
  std::uint16_t HostedPort() const { return Net.Port; }
  TLink NetLink() const { return Net.Link; }

  // The rules' events (Play.cpp).
  void GameLogged(std::string_view line) override;
  void GameReset() override;
  void ShipPlaced(TSide side) override;
  void FleetPlaced(TSide side) override;
  void ShotFired(TSide shooter, TPoint cell, bool hit) override;
  void TurnPassed(TSide side) override;
  void GameWon(TSide winner) override;

 protected:
  std::string Version;
  bool PlacementByMouse = false;
  // Where the pointer was last seen over the window: a click acts there.
  int MouseX = 0;
  int MouseY = 0;
  TTarget Target;

 private:
  void SetUpMenus();          // binds the menu items to what they do
  TPopupMenu& CurrentMenu();  // the menu Escape and the menu button open
  // The cell of the board being played under the pointer (the user's while placing, the
  // computer's in battle), strictly inside it as a click needs; nothing elsewhere.
  std::optional<TPoint> PointerCell() const;
  // The status line: the sector named, and while the user fires a salvo its shots left.
  void ShowStatus(const std::string& sector);
  std::string StatusSector;  // the sector the status line names
  void SaySalvo();           // the user's salvo's shots left, aloud
  // A button pressed at a cell: the mouse's at the pointer (at `pointer` on the window), Space,
  // Return and R at KeyCell (no pointer).
  void Press(TMouseButton button, std::optional<TPoint> cell, std::optional<TPoint> pointer = {});
  // The final boards of a finished game in place of the report (Tab), or the report again.
  void ShowFinalBoards(bool shown);
  std::optional<TPoint> KeyCell() const;
  // A modal (a menu, a box) keeps the pointer's moves to itself: once it has closed, the window
  // takes the pointer where it really is, if it moved meanwhile (`before`, when it opened).
  void PointerBack(std::optional<TPoint> before);
  // The board being played (0 the user's while placing, 1 the computer's in battle; -1 when
  // neither is played), where the target moves. Moving it does what a mouse move does.
  int PlayedBoard() const;
  void MoveTarget(int key);
  void SetTarget(TPoint cell);
  void ForgetTarget();
  void ShowKeys();  // the box listing the keys
  // Takes the about screen down and shows the game. The rules taking the game to another stage
  // (a new game, the battle, the report) take it down too, as a screen of theirs would replace it.
  void CloseAbout();
  void CloseAboutIfShown();
  // Start-up's one way out of a failure the player must see: the box, then the program ends.
  void AbandonStartUp(const std::exception& error);

  // A finished game goes to the record; the lines it writes go to the console.
  void RecordGame(TSide winner);
  void Keep(const TGameResult& game);
  // The game just played as the record keeps it: the date, who won and each side's tally; the
  // caller names the opponent and the rules.
  TGameResult PlayedGame(bool userWon) const;

  // The network game's steps (NetGame.cpp).
  TNetwork& Network();     // made at its first use
  void StartNetworking();  // --host or --join, once start-up is done
  void HandleNetEvents();
  void HandleNetEvent(const TNetEvent& event);
  void OnOpponent(const TNetEvent& event);
  void OnNetClosed(const TNetEvent& event);
  void StartNetGame();      // a new game against the player
  void BackToComputer();    // a new game against the computer
  TRules OwnRules() const;  // the rules of the player's games against the computer
  void RecordNetGame(TEnding ending);
  void AgainClick();  // "Рестарт" after a network game: another one against the player
  void StartBrowsing();
  void ShowFoundGames();
  void ShowNetworkItems();
  void NetLine(const std::string& text);  // a console line of the network game
  void NetBox(const std::string& text);   // a box, and the pointer taken again after it
  void SoundSwitched(bool on);
  void Note(const std::vector<std::string>& lines);

  TMainOptions Options;
  // The height of the items of the menu being opened: the game menu's are lower, to fit.
  int MenuItemHeight = TGameMenus::ItemHeight;
  TNetState Net;
  // Offers the waiting network events again once a menu or a box has closed.
  TTimer NetTimer;
  // Shows the games found a moment after the search began, when it had just begun.
  TTimer JoinTimer;
  TMessageBoxWatch SpokenBoxes, EchoedBoxes;
  TRecordFile RunRecord{""};  // when no record file was given

  bool Destroyed = false;
  // The console's lines are spoken from the first game on, not start-up's loading log.
  bool SpeakConsole = false;
  TPoint ScreenCenterPoint;  // the middle of the screen, where the menus open
};

}  // namespace kravelon
