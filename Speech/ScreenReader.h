#pragma once
// Whether the desktop's screen reader runs, as AT-SPI tells it: the property screen readers set.

namespace kravelon {

// Asks the session bus, waiting at most `timeoutMs` for the answer. False with no session bus,
// no accessibility bus, or no answer in time. It blocks: call it off the game thread.
bool ScreenReaderRunning(int timeoutMs);

}  // namespace kravelon
