#pragma once

namespace kravelon {
// The one process-wide flag the game names: false until start-up has built the pictures and
// reset the first game; never set back. Nothing is drawn before it is set, and the console keeps
// its early lines aside until then.
extern bool GraphicsReady;

}  // namespace kravelon
