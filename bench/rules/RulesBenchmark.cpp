#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "GameEngine/GameEngine.h"
#include "GameEngine/GameEngineProbe.h"
#include "GameEngine/Level.h"
#include "GameEngine/Levels/Admiral.h"
#include "GameEngine/RandomSource.h"
#include "tools/sim/SelfPlay.h"

namespace kravelon {

namespace {

// Arrangement of the user's fleet, then the computer, at the level given (1 to 4), shooting until
// it is sunk: items per second are games per second.
void BM_ComputerGame(benchmark::State& state) {
  const auto level = static_cast<TLevel>(state.range(0));
  TSelfPlay play(42, level);
  long shots = 0;
  for (auto _ : state) {
    const TSelfPlayResult result = play.PlayOne();
    shots += result.Shots;
    benchmark::DoNotOptimize(result);
  }
  state.SetLabel(std::string(LevelValue(level)));
  state.SetItemsProcessed(state.iterations());
  state.counters["shots_per_game"] =
      benchmark::Counter(static_cast<double>(shots) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ComputerGame)->DenseRange(lvCabinBoy, lvAdmiral);

// The captain's whole game under each house rule alone and all three together (args 0 to 3):
// where ships touch it hears each sinking and searches more water; salvoes and single shots
// change only the turns.
void BM_CaptainGameUnderRules(benchmark::State& state) {
  static const std::pair<const char*, TRules> Rules[] = {
      {"touching", {.Touching = true}},
      {"salvo", {.Salvo = true}},
      {"extra-shot=no", {.ExtraShot = false}},
      {"all", {.Touching = true, .Salvo = true, .ExtraShot = false}}};
  const auto& [name, rules] = Rules[state.range(0)];
  TSelfPlay play(42, lvCaptain, TFleets::Random, rules);
  long shots = 0, turns = 0;
  for (auto _ : state) {
    const TSelfPlayResult result = play.PlayOne();
    shots += result.Shots;
    turns += result.Turns;
    benchmark::DoNotOptimize(result);
  }
  state.SetLabel(name);
  state.SetItemsProcessed(state.iterations());
  const auto games = static_cast<double>(state.iterations());
  state.counters["shots_per_game"] = benchmark::Counter(static_cast<double>(shots) / games);
  state.counters["turns_per_game"] = benchmark::Counter(static_cast<double>(turns) / games);
}
BENCHMARK(BM_CaptainGameUnderRules)->DenseRange(0, 3);

void BM_ArrangeUserFleet(benchmark::State& state) {
  TSelfPlay play(42);
  for (auto _ : state) benchmark::DoNotOptimize(play.ArrangeUserFleet());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArrangeUserFleet);

// The admiral's way of hiding its fleet: once a game, while the computer arranges.
void BM_AdmiralFleet(benchmark::State& state) {
  TPcg32 random(42);
  for (auto _ : state) benchmark::DoNotOptimize(TAdmiral::ArrangeFleet(random, false));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AdmiralFleet);

// Every position the admiral faced in a few whole games, from the first shot to the last.
std::vector<TSeaView> AdmiralPositions() {
  std::vector<TSeaView> positions;
  TSelfPlay play(7, lvAdmiral);
  for (int game = 0; game < 20; ++game) {
    play.ArrangeUserFleet();
    TGameEngine& engine = play.Engine();
    Probe(engine).State = gsBattle;
    while (!engine.GameOver()) {
      Probe(engine).ActiveSide = sdComputer;
      positions.push_back(engine.Sea(sdComputer));
      bool done = false;
      engine.ComputerTurnStep(done);
    }
  }
  return positions;
}

// One admiral's shot: the placement count over the whole board and the choice of a cell, over
// the positions of whole games in turn. It runs inside the game's idle step, so it must stay far
// below a frame (16 ms).
void BM_AdmiralShot(benchmark::State& state) {
  const std::vector<TSeaView> positions = AdmiralPositions();
  TPcg32 random(42);
  TAdmiral admiral(random);
  admiral.NewGame({});
  // The dearest position too: each timed over three batches of shots, the fastest batch taken
  // (so that the machine's other work does not count), the slowest position kept.
  double slowest = 0;
  for (const TSeaView& position : positions) {
    constexpr int Batch = 20;
    double fastest = 1e9;
    for (int batch = 0; batch < 3; ++batch) {
      const auto start = std::chrono::steady_clock::now();
      for (int i = 0; i < Batch; ++i) benchmark::DoNotOptimize(admiral.TurnStep(position));
      const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
      fastest = std::min(fastest, took.count() / Batch);
    }
    slowest = std::max(slowest, fastest);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(admiral.TurnStep(positions[next]));
    next = next + 1 == positions.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["positions"] = static_cast<double>(positions.size());
  state.counters["slowest_position_us"] = slowest;
}
BENCHMARK(BM_AdmiralShot);

// The captain's search. Arg 0: an untouched board and the full fleet; arg 1: a third of the
// cells fired or excluded and four ships struck, as in the middle of a game.
void BM_BuildCandidates(benchmark::State& state) {
  TGameEngine engine;
  engine.NewGame();
  Probe(engine).State = gsBattle;
  Probe(engine).ComputerShots = 30;
  TCaptain& captain = Captain(engine);
  if (state.range(0) == 1) {
    TPcg32 random(7);
    for (int c = 0; c < 10; ++c) {
      for (int r = 0; r < 10; ++r) {
        if (random.Next() % 3 != 0) continue;
        if (random.Next() % 2 == 0) {
          captain.Exclude(c, r);
        } else {
          engine.WriteCell(c, r, 0, TCell{1, 1, 0, 0});
          Probe(engine).Reveal(sdUser, c, r);
        }
      }
    }
    for (const int size : {4, 2, 1, 1}) captain.StrikeSize(size);
  }
  const TSeaView& sea = engine.Sea(sdComputer);
  for (auto _ : state) {
    captain.BuildCandidates(sea);
    benchmark::DoNotOptimize(captain.CandidateCount());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BuildCandidates)->Arg(0)->Arg(1);

}  // namespace

}  // namespace kravelon

BENCHMARK_MAIN();
