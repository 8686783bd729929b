#pragma once
// The toolkit's start-up and shut-down as one object: made first in main(), gone last.
#include <string>

namespace kravelon {

// Starts SDL's video, timer and event parts, the font system and the watch for quit signals;
// its end stops exactly what it started, after releasing what the toolkit made meanwhile (the
// sound device, fonts, the cursor). It fails, with a message, where there is no display to show
// a window on: the game would otherwise run invisibly.
class TToolkit {
 public:
  TToolkit();
  ~TToolkit();

  bool Started() const { return Running; }
  // Why it did not start: one line, empty once started.
  const std::string& Error() const { return Failure; }

  // SDL starts once a process: there is one of these, never a copy.
  TToolkit(const TToolkit&) = delete;
  TToolkit& operator=(const TToolkit&) = delete;

 private:
  bool SdlStarted = false;
  bool FontsStarted = false;
  bool Running = false;  // all of it, the quit watch last
  std::string Failure;
};

}  // namespace kravelon
