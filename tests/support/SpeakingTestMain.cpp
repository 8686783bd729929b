// The main of the test programs that speak: the speaker starts the program it runs in again as
// its speech service, so these programs, like the game, become the service when asked to.
#include <gtest/gtest.h>

#include <csignal>

#include "Speech/SpeechService.h"

int main(int argc, char** argv) {
  std::signal(SIGPIPE, SIG_IGN);
  if (kravelon::IsSpeechService(argc, argv)) return kravelon::RunSpeechService();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
