// What speech adds to an arrow-key step on the game thread: the target's words built and handed
// to the speaker, against the same step with speech off. The speaker talks to the tests'
// recording stand-in, which answers each text only after 5 ms, as a busy daemon might: the game
// thread must not feel it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "GameEngine/GameEngine.h"
#include "Main/Narrator.h"
#include "tests/support/SsipStandIn.h"

namespace kravelon {

namespace {

void ArrowStep(benchmark::State& state, TSpeechChoice choice) {
  TSsipStandIn daemon;
  daemon.SetAnswerDelay(std::chrono::milliseconds(5));
  setenv("SPEECHD_ADDRESS", daemon.Address().c_str(), 1);
  TGameEngine engine;
  engine.NewGame();
  TNarrator narrator(choice, "ru", [](const std::string&) {});
  int column = 0;
  for (auto _ : state) {
    column = (column + 1) % 10;
    narrator.Focus(CellSpeech(engine, 0, {column, 4}));
  }
  unsetenv("SPEECHD_ADDRESS");
}

void BM_ArrowStepSpeechOff(benchmark::State& state) { ArrowStep(state, TSpeechChoice::Off); }
void BM_ArrowStepSpeechOn(benchmark::State& state) { ArrowStep(state, TSpeechChoice::On); }

BENCHMARK(BM_ArrowStepSpeechOff);
BENCHMARK(BM_ArrowStepSpeechOn);

}  // namespace

}  // namespace kravelon

BENCHMARK_MAIN();
