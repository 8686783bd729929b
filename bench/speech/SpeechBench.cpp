// What speech adds to an arrow-key step on the game thread: the target's words built and handed
// to the speaker, against the same step with speech off. The speaker talks, through its speech
// service, to the tests' recording stand-in, which answers each text only after 5 ms, as a busy
// daemon might: the game thread must not feel it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>

#include "GameEngine/GameEngine.h"
#include "Main/Narrator.h"
#include "Speech/SpeechService.h"
#include "tests/support/SsipStandIn.h"

namespace kravelon {

namespace {

void ArrowStep(benchmark::State& state, TSpeechChoice choice) {
  TSsipStandIn daemon;
  daemon.SetAnswerDelay(std::chrono::milliseconds(5));
  setenv("SPEECHD_ADDRESS", daemon.Address().c_str(), 1);
  TGameEngine engine;
  engine.NewGame();
  // No game thread here: the speaker's news are not needed.
  TNarrator narrator(choice, "ru", [](const std::string&) {}, [](std::function<void()>) { return true; });
  // Measured once the service has connected, as in play.
  if (choice == TSpeechChoice::On && SpeechBuiltIn()) {
    narrator.Focus("А1");
    daemon.WaitForSpoken("А1");
  }
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

// The speaker starts this program again as its speech service.
int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  if (kravelon::IsSpeechService(argc, argv)) return kravelon::RunSpeechService();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
