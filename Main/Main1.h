#pragma once
// The main window: owns the engine, the console, the painter, the backdrop and the sound bank;
// runs start-up and shut-down and turns input into game actions.
#include <memory>
#include <string>

#include "GameEngine/GameHost.h"
#include "GameEngine/Globals.h"
#include "Toolkit/Forms.h"

extern int ScreenCenterX;
extern int ScreenCenterY;

// The three popup menus the input opens (drawn by the menu code).
enum class TMenuId { PopupMenu1 = 1, PopupMenu2 = 2, PopupMenu3 = 3 };

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
  virtual void ShowMenu(TMenuId menu);

  // The user's placement and shot, and the end of a game.
  void SetupShip(bool place);
  void UserShot();

  // What the rules set off outside themselves.
  void Redraw() override;
  void ScrollConsole(int line) override;
  void PlaySound(std::string_view name) override;
  void StopSound() override;
  void PlayExplosion(int x, int y) override;
  void StopReportTimer() override;
  void EndOfGame() override;
  void SetPlacementByMouse(bool on) override;
  void InstallIdle(TIdleStep step) override;
  void RemoveIdle() override;

 private:
  // The objects the main window owns; the process-wide pointers only point at them.
  std::unique_ptr<TGameEngine> OwnedEngine;
  std::unique_ptr<TConsol> OwnedConsol;
  std::unique_ptr<TPaint> OwnedPaint;
  std::unique_ptr<TForm> OwnedBackdrop;
  std::unique_ptr<TSound> OwnedSound;
  bool Destroyed = false;
};

extern TMain1* Main1;
