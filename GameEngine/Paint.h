#pragma once
// The painter: owns every picture by name, builds them at start-up and composes every screen in
// the back buffer before copying it to the window in one piece.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Toolkit/Forms.h"
#include "Toolkit/Graphics.h"

class TPaint {
 public:
  // The window the painter shows its pictures on, and the version text for the about picture.
  TPaint(TForm& window, std::string version);
  ~TPaint();
  TPaint(const TPaint&) = delete;
  TPaint& operator=(const TPaint&) = delete;

  // Loads and composes every picture. False when it stopped early (damaged about picture): the
  // program is then ending. A picture that cannot be loaded raises TToolkitError.
  bool Initialize();
  void Redraw();
  void ScrollConsole(int line);
  void SetStatusText(const std::string& text);
  void Log(std::string_view text);

  int ConsoleEnd = 0;
  std::string StatusText;
  bool ReportShown = false;

 private:
  TForm& Window;
  std::string Version;
};
