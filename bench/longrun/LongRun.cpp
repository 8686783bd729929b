// Memory over a long run: fifty whole games played through the main window's own handlers on
// SDL's off-screen driver, without pauses. Prints the resident memory when the second game
// starts and when the last one ends.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "Platform/ProgramPath.h"
#include "Main/Main1.h"
#include "Toolkit/Application.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Pause.h"
#include "Toolkit/Toolkit.h"

using namespace kravelon;

namespace {

constexpr int Games = 50;

double ResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// The main window without menus opening: the run chooses the items itself.
class TQuietMain : public TMain1 {
 public:
  void ShowMenu(TPopupMenu&) override {}
};

void RunIdleSteps(TApplication& app) {
  for (long steps = 0; app.HasIdle() && steps < 10'000'000; ++steps) {
    app.ProcessMessages();
    app.StepIdle();
  }
}

// Arranges the user's fleet with the menu item, then fires at every cell in turn, the pointer
// passing over each first, until the game is over.
void PlayOneGame(TQuietMain& main, TApplication& app) {
  main.ArrangeClick();
  RunIdleSteps(app);
  for (int cell = 0; cell < 100 && main.Engine->State() == gsBattle; ++cell) {
    const int x = 372 + 32 * (cell % 10) + 16, y = 36 + 32 * (cell / 10) + 16;
    main.FormMouseMove(x, y);
    main.FormMouseDown(TMouseButton::Left);
    RunIdleSteps(app);
  }
  // The report's two ticks, then a new game from the game-over menu.
  main.ReportTimerTick();
  main.ReportTimerTick();
  main.RestartClick();
}

}  // namespace

int main() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const TToolkit toolkit;
  if (!toolkit.Started()) {
    std::fprintf(stderr, "%s\n", toolkit.Error().c_str());
    return 1;
  }
  SetProgramFolder(std::string(KRAVELON_ASSETS) + "/");
  SetSleeper([](int) {});
  SetMessageBoxHandler([](const std::string&, const std::string&, TMessageIcon) {});
  double secondGame = 0;
  {
    TApplication app;
    auto main = std::make_unique<TQuietMain>();
    app.MainForm = main.get();
    app.StepIdle();  // start-up
    main->Menus.SoundItem.Checked = false;
    for (int game = 0; game < Games; ++game) {
      if (game == 1) secondGame = ResidentMegabytes();
      PlayOneGame(*main, app);
    }
    const double end = ResidentMegabytes();
    std::printf("memory over a run: %.1f MB when game 2 starts, %.1f MB after %d games (%+.2f MB), "
                "%d console lines\n",
                secondGame, end, Games, end - secondGame, main->Consol->Count());
  }
  return 0;
}
