// The main menu over the board screen: opening and closing it, and one move of its highlight,
// next to a full redraw of the screen underneath. The game runs on SDL's off-screen driver, so
// the figures are the game's own work, not the X server's.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "Media/Paint/Paint.h"
#include "Platform/ProgramPath.h"
#include "Main/Main1.h"
#include "Toolkit/Application.h"
#include "Toolkit/Toolkit.h"

namespace kravelon {

namespace {

struct TGame {
  TGame() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Toolkit.emplace();
    if (!Toolkit->Started()) std::abort();
    SetProgramFolder(std::string(KRAVELON_ASSETS) + "/");
    App = std::make_unique<TApplication>();
    Main = std::make_unique<TMain1>();
    App->MainForm = Main.get();
    App->StepIdle();  // start-up
    if (!Main->Paint->IsGraphicsReady()) std::abort();
  }
  std::optional<TToolkit> Toolkit;  // first made, last gone
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TMain1> Main;
};

TGame& Game() {
  static TGame game;
  return game;
}

void Push(SDL_Event e) {
  if (SDL_PushEvent(&e) != 1) std::abort();
}

// The pointer over item `index` of the main menu, once it is open.
SDL_Event MoveOver(int index) {
  TMain1& main = *Game().Main;
  const TRect menu = main.Menus.MainMenu.Bounds();
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = main.WindowId();
  e.motion.x = (menu.Left + menu.Right) / 2;
  e.motion.y = menu.Top + 3 + 64 * index + 32;
  return e;
}

SDL_Event Escape() {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = Game().Main->WindowId();
  e.key.keysym.sym = SDLK_ESCAPE;
  return e;
}

void BM_FullRedraw(benchmark::State& state) {
  Game();
  TPaint& paint = *Game().Main->Paint;
  for (auto _ : state) paint.Redraw();
}
BENCHMARK(BM_FullRedraw);

// Opening draws the frame and five items over the screen; closing repaints the screen.
void BM_MenuOpenAndClose(benchmark::State& state) {
  TMain1& main = *Game().Main;
  for (auto _ : state) {
    Push(Escape());
    main.ShowMenu(main.Menus.MainMenu);
  }
}
BENCHMARK(BM_MenuOpenAndClose);

// A thousand highlight moves per opening: the opening's cost shrinks to a thousandth of it.
void BM_MenuHighlightMove(benchmark::State& state) {
  TMain1& main = *Game().Main;
  constexpr int Moves = 1000;
  Push(Escape());
  main.ShowMenu(main.Menus.MainMenu);  // lays the menu out, so MoveOver knows where it stands
  for (auto _ : state) {
    for (int i = 0; i < Moves; ++i) Push(MoveOver(i % 2));
    Push(Escape());
    main.ShowMenu(main.Menus.MainMenu);
  }
  state.SetItemsProcessed(state.iterations() * Moves);
}
BENCHMARK(BM_MenuHighlightMove)->Unit(benchmark::kMillisecond);

}  // namespace


}  // namespace kravelon

BENCHMARK_MAIN();
