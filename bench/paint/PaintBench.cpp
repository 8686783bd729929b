// The painter's frames, each next to its baseline measured in the same run: a plain copy of one
// frame's pixels, and a full redraw (composition, copy to the window, sending it). Under SDL's
// off-screen driver the figures are the game's work alone; on an X display (SDL_VIDEODRIVER=x11)
// they include sending the pixels, which waits for the X server.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <memory>
#include <optional>
#include <vector>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "GameEngine/GameEngineProbe.h"
#include "Media/Paint/Paint.h"
#include "Platform/ProgramPath.h"
#include "Toolkit/Application.h"
#include "Toolkit/Form.h"
#include "Toolkit/Pause.h"
#include "Toolkit/Toolkit.h"

namespace kravelon {

namespace {

// Paints each shot the engine fires as the main window does: the cell, and what it sank.
struct TPaintingHost final : TNullGameHost {
  TPaint* Painter = nullptr;
  int Shots = 0;
  void ShotFired(TSide shooter, TPoint cell, bool) override {
    ++Shots;
    if (Painter) Painter->ShowShot(shooter == sdUser ? sdComputer : sdUser, cell);
  }
};

struct TScene {
  TScene() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    Toolkit.emplace();
    if (!Toolkit->Started()) std::abort();
    SetProgramFolder(std::string(KRAVELON_ASSETS) + "/");
    SetSleeper([](int) {});  // explosion frames without their pauses
    App = std::make_unique<TApplication>();
    Window = std::make_unique<TForm>("bench", 696, 488);
    Window->Show();
    Console = std::make_unique<TConsol>();
    GameEngine = std::make_unique<TGameEngine>(&Host);
    Painter = std::make_unique<TPaint>(*Window, "1.2", *GameEngine, *Console);
    Host.Painter = Painter.get();
    Painter->Initialize();
    GameEngine->NewGame();
    for (int i = 0; i < 12; ++i) Console->AddLine("Game: Компьютер произвел выстрел в сектор Д5");
    Painter->MarkGraphicsReady();
    Painter->ScrollConsole(32767);
    Painter->SetStatusText("Сектор: Д7");
    Painter->Redraw();
  }
  std::optional<TToolkit> Toolkit;  // first made, last gone
  std::unique_ptr<TApplication> App;
  std::unique_ptr<TForm> Window;
  std::unique_ptr<TConsol> Console;
  TPaintingHost Host;
  std::unique_ptr<TGameEngine> GameEngine;
  std::unique_ptr<TPaint> Painter;
};

TScene& Scene() {
  static TScene scene;
  return scene;
}

// CPU time the X server spends for us, from its scheduler statistics (nanoseconds); the script
// that starts the server names its process in KRAVELON_XSERVER_PID.
std::uint64_t ServerNanoseconds() {
  const char* pid = std::getenv("KRAVELON_XSERVER_PID");
  if (!pid) return 0;
  std::ifstream stat(std::string("/proc/") + pid + "/schedstat");
  std::uint64_t ns = 0;
  stat >> ns;
  return ns;
}

// Runs `frame` once per iteration and adds the server's share per frame as "server_us" (every
// benchmark here carries the same counters, as the CSV output needs).
template <typename TFrame>
void MeasureFrames(benchmark::State& state, int framesPerCall, TFrame&& frame) {
  const std::uint64_t before = ServerNanoseconds();
  for (auto _ : state) frame();
  const double frames = static_cast<double>(state.iterations()) * framesPerCall;
  state.counters["server_us"] = static_cast<double>(ServerNanoseconds() - before) / 1000.0 / frames;
  state.counters["frames"] = frames;
}

void BM_FrameMemcpy(benchmark::State& state) {
  std::vector<std::uint32_t> from(696 * 488, 0x123456), to(696 * 488);
  MeasureFrames(state, 1, [&] {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_FrameMemcpy)->Unit(benchmark::kMicrosecond);

void BM_BoardScreenCompose(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  MeasureFrames(state, 1, [&] {
    paint.Compose();
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_BoardScreenCompose)->Unit(benchmark::kMicrosecond);

// The finished frame to the window, without composing it.
void BM_CopyToWindow(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  MeasureFrames(state, 1, [&] { paint.CopyToWindow(); });
}
BENCHMARK(BM_CopyToWindow)->Unit(benchmark::kMicrosecond);

void BM_FullRedraw(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  MeasureFrames(state, 1, [&] { paint.Redraw(); });
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

// A mouse move over the board: the status line names another sector.
void BM_StatusLine(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  bool odd = false;
  MeasureFrames(state, 1, [&] { paint.SetStatusText((odd = !odd) ? "Сектор: Д7" : "Сектор: К10"); });
}
BENCHMARK(BM_StatusLine)->Unit(benchmark::kMicrosecond);

// An arrow key: the target's frame moves to the next cell, and the status line names it.
void BM_ArrowKeyStep(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  bool odd = false;
  MeasureFrames(state, 1, [&] {
    odd = !odd;
    paint.ShowTarget(0, odd ? TPoint{3, 6} : TPoint{4, 6});
    paint.SetStatusText(odd ? "Сектор: Г7" : "Сектор: Д7");
  });
  paint.HideTarget();
}
BENCHMARK(BM_ArrowKeyStep)->Unit(benchmark::kMicrosecond);

// An arrow key while placing: the target's frame moves, the next ship's preview follows it and
// the status line names the cell. Sent piece by piece, as before the window held its updates
// back (four updates), and as the window does it now (one update).
void PlacementStep(bool oneUpdate) {
  TPaint& paint = *Scene().Painter;
  static bool odd = false;
  odd = !odd;
  const TPoint cell = odd ? TPoint{3, 6} : TPoint{4, 6};
  std::optional<TPaint::TOneUpdate> once;
  if (oneUpdate) once.emplace(paint);
  paint.ShowTarget(0, cell);
  paint.SetStatusText(odd ? "Сектор: Г7" : "Сектор: Д7");
  paint.ShowPreview(cell, 3, true, true);
}

void BM_PlacementStepPieceByPiece(benchmark::State& state) {
  MeasureFrames(state, 1, [] { PlacementStep(false); });
  Scene().Painter->HideTarget();
}
BENCHMARK(BM_PlacementStepPieceByPiece)->Unit(benchmark::kMicrosecond);

void BM_PlacementStepOneUpdate(benchmark::State& state) {
  MeasureFrames(state, 1, [] { PlacementStep(true); });
  Scene().Painter->HideTarget();
}
BENCHMARK(BM_PlacementStepOneUpdate)->Unit(benchmark::kMicrosecond);

// Nine of the computer's ships, hidden as in battle, rows 0, 2 and 4 (the tenth is the benchmarks'
// own, at В9): the fleet the strip and a sinking look through.
void PutComputerFleet(TGameEngine& engine) {
  struct TShip {
    int Column, Row, Length;
  };
  constexpr TShip ships[] = {{0, 0, 4}, {5, 0, 3}, {0, 2, 3}, {4, 2, 2}, {7, 2, 2},
                             {0, 4, 2}, {3, 4, 1}, {5, 4, 1}, {7, 4, 1}};
  int number = 0;
  for (const TShip& ship : ships) {
    for (int i = 0; i < ship.Length; ++i) engine.WriteCell(ship.Column + i, ship.Row, 1, TCell{0, 0, number, i});
    ++number;
  }
}

// A shot that lands on water: its cell goes to the window, and the fleet strip stays as it was.
void BM_ShotOnWater(benchmark::State& state) {
  TScene& scene = Scene();
  PutComputerFleet(*scene.GameEngine);
  scene.GameEngine->WriteCell(7, 7, 1, TCell{1, 1, 0, 0});
  MeasureFrames(state, 1, [&] { scene.Painter->ShowShot(1, {7, 7}); });
}
BENCHMARK(BM_ShotOnWater)->Unit(benchmark::kMicrosecond);

// A ship of one cell at В9 sunk and afloat again by turns, each time followed by `send`: the
// fleet strip changes every time.
template <typename TSend>
void SinkByTurns(benchmark::State& state, TSend&& send) {
  TScene& scene = Scene();
  PutComputerFleet(*scene.GameEngine);
  bool sunk = false;
  MeasureFrames(state, 1, [&] {
    sunk = !sunk;
    scene.GameEngine->WriteCell(2, 8, 1, TCell{0, static_cast<std::uint8_t>(sunk), 9, 0});
    send(*scene.Painter);
  });
  scene.GameEngine->WriteCell(2, 8, 1, TCell{});
  scene.Painter->Redraw();
}

// A shot that sinks that ship: the cell turns into a wreck and the fleet strip changes, both in
// one update.
void BM_ShotSinkingAShip(benchmark::State& state) {
  SinkByTurns(state, [](TPaint& paint) { paint.ShowShot(1, {2, 8}); });
}
BENCHMARK(BM_ShotSinkingAShip)->Unit(benchmark::kMicrosecond);

// The fleet strip alone, as a sinking sends it.
void BM_FleetStrip(benchmark::State& state) {
  SinkByTurns(state, [](TPaint& paint) { paint.UpdateFleet(); });
}
BENCHMARK(BM_FleetStrip)->Unit(benchmark::kMicrosecond);

// A whole explosion over a cell of the computer's board; the figures are per frame.
void BM_ExplosionFrame(benchmark::State& state) {
  TPaint& paint = *Scene().Painter;
  MeasureFrames(state, ExplosionFrameCount,
                [&] { paint.PlayAnimation(412, 86, ExplosionFrameCount); });
}
BENCHMARK(BM_ExplosionFrame)->Unit(benchmark::kMicrosecond);

// A battle with the opponent to fire at the user's board: the computer at its default level, or a
// player across the network. The user's fleet is placed across rows 0, 2 and 4.
void BeginBattle(TGameEngine& engine, bool remote) {
  engine.SetRemote(remote);
  engine.NewGame();
  engine.SetOrientation(true);
  constexpr int ships[][2] = {{0, 0}, {5, 0}, {0, 2}, {4, 2}, {7, 2},
                              {0, 4}, {3, 4}, {5, 4}, {7, 4}, {9, 4}};
  for (const auto& ship : ships) engine.PlaceShip(ship[0], ship[1]);
  if (remote) return engine.BeginRemoteBattle(false);
  for (bool done = false; engine.State() == gsPlacing;) engine.ArrangeStep(done);
  Probe(engine).BeginTurn(sdComputer);
}

// The opponent's shots at the user's board from the moment each is decided to its cell painted:
// the computer's chosen by its level step by step in the idle slot, a network player's as its
// event hands it over. A fresh battle every 40 shots, outside the timing.
void OpponentShots(benchmark::State& state, bool remote) {
  TScene& scene = Scene();
  TGameEngine& engine = *scene.GameEngine;
  int fired = 40;
  MeasureFrames(state, 1, [&] {
    if (fired == 40 || engine.State() != gsBattle) {
      state.PauseTiming();
      BeginBattle(engine, remote);
      fired = 0;
      state.ResumeTiming();
    }
    if (engine.ActiveSide() != sdComputer) Probe(engine).BeginTurn(sdComputer);
    if (remote) {
      engine.ShootRemote(fired % 10, fired / 10);  // rows 0 to 3: never the whole fleet
    } else {
      const int before = scene.Host.Shots;
      for (bool done = false; scene.Host.Shots == before;) engine.ComputerTurnStep(done);
    }
    ++fired;
  });
  engine.SetRemote(false);
  engine.NewGame();
  scene.Painter->Redraw();
}

void BM_ComputerShotFrame(benchmark::State& state) { OpponentShots(state, false); }
BENCHMARK(BM_ComputerShotFrame)->Unit(benchmark::kMicrosecond);

void BM_NetworkOpponentShotFrame(benchmark::State& state) { OpponentShots(state, true); }
BENCHMARK(BM_NetworkOpponentShotFrame)->Unit(benchmark::kMicrosecond);

}  // namespace


}  // namespace kravelon

BENCHMARK_MAIN();
