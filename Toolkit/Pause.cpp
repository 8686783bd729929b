#include "Toolkit/Pause.h"

#include <utility>

#include "Toolkit/Quit.h"

namespace kravelon {

namespace {

TSleeper& CurrentSleeper() {
  static TSleeper sleeper;
  return sleeper;
}

}  // namespace

void Sleep(int milliseconds) {
  if (milliseconds <= 0) return;
  if (CurrentSleeper()) {
    CurrentSleeper()(milliseconds);
  } else {
    WaitUnlessQuit(milliseconds);
  }
}

void SetSleeper(TSleeper sleeper) { CurrentSleeper() = std::move(sleeper); }

}  // namespace kravelon
