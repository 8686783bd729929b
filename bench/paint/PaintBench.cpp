// A full board-screen composition in the back buffer, next to a plain copy of one frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "GameEngine/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/Globals.h"
#include "GameEngine/Paint.h"
#include "GameEngine/ProgramPath.h"
#include "Toolkit/Forms.h"

namespace {

struct TScene {
  TScene() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    if (!InitializeToolkit(error)) std::abort();
    SetProgramFolder(std::string(KRAVELON_ASSETS) + "/");
    App = std::make_unique<TApplication>();
    Window = std::make_unique<TForm>("bench", 696, 488);
    Console = std::make_unique<TConsol>();
    Consol = Console.get();
    GameEngine = std::make_unique<TGameEngine>();
    Engine = GameEngine.get();
    Painter = std::make_unique<TPaint>(*Window, "1.2");
    Paint = Painter.get();
    if (!Painter->Initialize()) std::abort();
    GameEngine->NewGame();
    for (int i = 0; i < 12; ++i) Console->AddLine("Game: Компьютер произвел выстрел в сектор Д5");
    GraphicsReady = true;
    Painter->ScrollConsole(32767);
    Painter->StatusText = "Сектор: Д7";
  }
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TForm> Window;
  std::unique_ptr<TConsol> Console;
  std::unique_ptr<TGameEngine> GameEngine;
  std::unique_ptr<TPaint> Painter;
};

TScene& Scene() {
  static TScene scene;
  return scene;
}

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<std::uint32_t> from(696 * 488, 0x123456), to(696 * 488);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FrameMemcpy);

void BM_BoardScreenCompose(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  for (auto _ : state) {
    paint.Compose();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BoardScreenCompose);

}  // namespace

BENCHMARK_MAIN();
