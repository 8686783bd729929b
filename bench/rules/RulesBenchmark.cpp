#include <benchmark/benchmark.h>

#include "GameEngine/GameEngine.h"
#include "GameEngine/RandomSource.h"
#include "tools/sim/SelfPlay.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

// Arrangement of the user's fleet, then the computer shooting until it is sunk.
void BM_ComputerGame(benchmark::State& state) {
  TSelfPlay play(42);
  long shots = 0;
  for (auto _ : state) {
    const TSelfPlayResult result = play.PlayOne();
    shots += result.Shots;
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["shots_per_game"] =
      benchmark::Counter(static_cast<double>(shots) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ComputerGame);

void BM_ArrangeUserFleet(benchmark::State& state) {
  TSelfPlay play(42);
  for (auto _ : state) benchmark::DoNotOptimize(play.ArrangeUserFleet());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArrangeUserFleet);

// Arg 0: an untouched board and the full fleet; arg 1: a third of the cells fired or excluded
// and four ships struck, as in the middle of a game.
void BM_BuildCandidates(benchmark::State& state) {
  TGameEngine engine;
  engine.NewGame();
  Probe(engine).State = gsBattle;
  Probe(engine).ComputerShots = 30;
  if (state.range(0) == 1) {
    TPcg32 random(7);
    for (int c = 0; c < 10; ++c) {
      for (int r = 0; r < 10; ++r) {
        if (random.Next() % 3 == 0)
          engine.WriteCell(c, r, 0, TCell{1, 1, 0, 0, random.Next() % 2 == 0 ? 1 : 0});
      }
    }
    for (const int size : {4, 2, 1, 1}) engine.StrikeSize(size);
  }
  for (auto _ : state) {
    engine.BuildCandidates();
    benchmark::DoNotOptimize(engine.CandidateCount());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildCandidates)->Arg(0)->Arg(1);

}  // namespace


}  // namespace kravelon

BENCHMARK_MAIN();
