#pragma once
// Whether the desktop's screen reader runs, as AT-SPI tells it: the property screen readers set.
#include <functional>
#include <memory>
#include <thread>

#include "Speech/Speech.h"

namespace kravelon {

// Asks the session bus, the whole question (connecting, greeting the bus, the property) taking at
// most about `timeoutMs`. False with no session bus, no accessibility bus, or no answer in time. It
// blocks: call it off the game thread.
bool ScreenReaderRunning(int timeoutMs);

// The question asked on a thread of its own; the answer comes to `answered` through `post`, and
// never once the question is gone.
class TScreenReaderQuestion {
 public:
  TScreenReaderQuestion(TPoster post, std::function<void(bool running)> answered,
                        int timeoutMs = 1000);
  // Waits for the thread, which the question's own bound ends.
  ~TScreenReaderQuestion();
  TScreenReaderQuestion(const TScreenReaderQuestion&) = delete;
  TScreenReaderQuestion& operator=(const TScreenReaderQuestion&) = delete;

 private:
  std::shared_ptr<std::function<void(bool)>> Answered;
  std::thread Asker;
};

}  // namespace kravelon
