#pragma once

namespace kravelon {
// Orderly quitting. SIGTERM, SIGINT and SIGHUP (the terminal that started the game closing)
// become a quit event in the queue, handled like the window's close button; a blocking pause
// ends as soon as a quit is queued, whatever queued it.
//
// The signals are blocked in every thread and taken by one thread of ours with sigwait, so no
// code runs inside a signal handler.

// Blocks the quit signals in this thread and every thread it starts later: call it before SDL
// starts any thread.
void BlockQuitSignals();
// Starts and stops the thread that turns the signals into quit events (after SDL_Init, before
// SDL_Quit). Stopping clears the quit request.
void StartQuitWatch();
void StopQuitWatch();

// Whether a quit event has been queued since the watch started.
bool QuitRequested();
// Waits up to `milliseconds`; true when it ended early because a quit was queued.
bool WaitUnlessQuit(int milliseconds);

}  // namespace kravelon
