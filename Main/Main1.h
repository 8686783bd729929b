#pragma once
// The main window: owns the engine, the console, the painter, the backdrop and the sound bank;
// runs start-up and shut-down and turns input into game actions.
#include <exception>
#include <memory>
#include <string>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/GameHost.h"
#include "Console/Globals.h"
#include "Media/Paint/Paint.h"
#include "Media/Sound/Sound.h"
#include "Toolkit/Form.h"
#include "Toolkit/Menus.h"
#include "Toolkit/Timer.h"

namespace kravelon {

extern int ScreenCenterX;
extern int ScreenCenterY;

class TMain1 : public TForm, public TGameHost {
 public:
  TMain1();  // constructor, then FormCreate
  ~TMain1() override;

  std::string Version;
  bool PlacementByMouse = false;
  int SavedState = 0;  // the screen to return to from the about screen

  // The objects the window owns, one of each, created in this order by the constructor and freed
  // by FormDestroy; the others reach them through the references they were given. The painter
  // reads the engine and writes to the console, the sound bank logs to the console.
  std::unique_ptr<TGameEngine> Engine;
  std::unique_ptr<TConsol> Consol;
  std::unique_ptr<TPaint> Paint;
  std::unique_ptr<TForm> Backdrop;
  std::unique_ptr<TSound> Sound;

  TTimer CLOCK;
  TSpeedButton SpeedButton1;

  void FormCreate();
  void StartConsol(bool& done);
  // The steps of StartConsol. A failure the player must see (a picture missing or damaged)
  // raises TFileError, which StartConsol shows before the program ends.
  void StartUp();
  void SetupBackdrop();
  void FormPaint();
  void FormDestroy();
  void FormKeyPress(char& key);
  void FormKeyDown(int& key);

  // Input dispatch by game state.
  int MouseX = 0;
  int MouseY = 0;
  std::string SectorName() const;
  void FormMouseMove(int x, int y);
  void FormMouseDown(TMouseButton button);
  void FormMouseWheelDown();
  void FormMouseWheelUp();
  void SpeedButton1Click();
  void CLOCKTimer();

  // The popup menus: the main menu, the exit confirmation and the game-over menu, with their
  // items in display order.
  TMenuItem N6{"Рестарт"}, N7{"Расставить"}, N11{"Звук"}, N2{"Об игре..."}, N1{"Выход"};
  TMenuItem N3{"Выйти?"}, N4{"Да"}, N5{"Нет"};
  TMenuItem N9{"Рестарт"}, N10{"Статистика"}, N8{"Выход"};
  TPopupMenu PopupMenu1{*this};
  TPopupMenu PopupMenu2{*this};
  TPopupMenu PopupMenu3{*this};
  void PrepareMenu(TPopupMenu& menu);
  // Opens a menu in the middle of the screen; returns when it has closed.
  virtual void ShowMenu(TPopupMenu& menu);
  void N1MeasureItem(TMenuItem& sender, TCanvas& canvas, int& width, int& height);
  void N1DrawItem(TMenuItem& sender, TCanvas& canvas, const TRect& rect, bool selected);
  void N6Click();
  void N7Click();
  void N2Click();
  void N1Click();
  void N4Click();
  void N10Click();

  // The user's placement and shot, and the end of a game.
  void SetupShip(bool place);
  void UserShot();
  void EndOfGame();
  // The engine's step in the application's idle slot; None empties the slot.
  void InstallIdle(TIdleStep step);

  // The rules' events (Play.cpp).
  void GameLogged(std::string_view line) override;
  void GameReset() override;
  void ShipPlaced(int side) override;
  void FleetPlaced(int side) override;
  void ShotFired(int shooter, TPoint cell, bool hit) override;
  void TurnPassed(int side) override;
  void GameWon(int winner) override;

 private:
  void SetUpMenus();  // the items, their settings and handlers, as the window's layout has them
  // Start-up's one way out of a failure the player must see: the box, then the program ends.
  void AbandonStartUp(const std::exception& error);

  bool Destroyed = false;
};

}  // namespace kravelon
