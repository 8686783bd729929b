#pragma once
// Blocking pauses, which a quit cuts short, and the seam that lets tests run them without waiting.
#include <functional>

namespace kravelon {

// A blocking pause; it ends early once a quit is queued (a signal, the window closed). Tests
// replace the sleeper to run without waiting and to see the pauses.
void Sleep(int milliseconds);
using TSleeper = std::function<void(int milliseconds)>;
void SetSleeper(TSleeper sleeper);  // an empty function restores the real pause

}  // namespace kravelon
