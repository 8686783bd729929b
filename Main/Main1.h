#pragma once
// The main window: owns the engine, the console, the painter, the backdrop and the sound bank;
// runs start-up and shut-down and turns input into game actions.
#include <memory>
#include <string>

#include "GameEngine/GameHost.h"
#include "GameEngine/Globals.h"
#include "Toolkit/Forms.h"
#include "Toolkit/Menus.h"

extern int ScreenCenterX;
extern int ScreenCenterY;

class TMain1 : public TForm, public TGameHost {
 public:
  TMain1();  // constructor, then FormCreate
  ~TMain1() override;

  std::string Version;
  bool PlacementByMouse = false;
  int SavedState = 0;  // the screen to return to from the about screen
  TForm* Backdrop = nullptr;
  TTimer CLOCK;
  TSpeedButton SpeedButton1;

  void FormCreate();
  void StartConsol(bool& done);
  bool StartUp();  // the steps of StartConsol; false when it stopped early, the program ending
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

  // What the rules set off outside themselves.
  void Redraw() override;
  void ScrollConsole(int line) override;
  void PlaySound(std::string_view name) override;
  void StopSound() override;
  void PlayExplosion(int board, TPoint cell) override;
  void StopReportTimer() override;
  void EndOfGame() override;
  void SetPlacementByMouse(bool on) override;
  void InstallIdle(TIdleStep step) override;
  void RemoveIdle() override;

 private:
  void SetUpMenus();  // the items, their settings and handlers, as the window's layout has them

  // The objects the main window owns; the process-wide pointers only point at them.
  std::unique_ptr<TGameEngine> OwnedEngine;
  std::unique_ptr<TConsol> OwnedConsol;
  std::unique_ptr<TPaint> OwnedPaint;
  std::unique_ptr<TForm> OwnedBackdrop;
  std::unique_ptr<TSound> OwnedSound;
  bool Destroyed = false;
};

extern TMain1* Main1;
