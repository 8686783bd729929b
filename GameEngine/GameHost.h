#pragma once
// What the rules set off outside themselves. The main window implements it; the unit tests and
// the simulator use a host that records the calls, so the rules run without a window.
#include <string_view>

#include "Toolkit/Types.h"

enum class TIdleStep { None, Arrange, ComputerTurn };

class TGameHost {
 public:
  virtual ~TGameHost() = default;
  virtual void Redraw() = 0;                        // full redraw of the current screen
  virtual void ScrollConsole(int line) = 0;         // move the console view's end line
  virtual void PlaySound(std::string_view name) = 0;
  virtual void StopSound() = 0;
  // Over a cell of a board (0 the user's); blocks until the animation has played.
  virtual void PlayExplosion(int board, TPoint cell) = 0;
  virtual void StopReportTimer() = 0;               // the report timer CLOCK
  virtual void EndOfGame() = 0;
  virtual void SetPlacementByMouse(bool on) = 0;
  virtual void InstallIdle(TIdleStep step) = 0;     // replaces whatever step is installed
  virtual void RemoveIdle() = 0;
};

// A host that does nothing: the default until the main window plugs itself in.
class TNullGameHost : public TGameHost {
 public:
  void Redraw() override {}
  void ScrollConsole(int) override {}
  void PlaySound(std::string_view) override {}
  void StopSound() override {}
  void PlayExplosion(int, TPoint) override {}
  void StopReportTimer() override {}
  void EndOfGame() override {}
  void SetPlacementByMouse(bool) override {}
  void InstallIdle(TIdleStep) override {}
  void RemoveIdle() override {}
};
