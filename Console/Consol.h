#pragma once
// The game's event log: every subsystem appends lines; the console panel shows the newest.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kravelon {

class TConsol {
 public:
  // Called for each line added once the console is shown: the painter's full redraw.
  std::function<void()> OnRedraw;
  // Called with each line as it is added, from the first on (the game speaks them).
  std::function<void(std::string_view line)> OnLine;
  // From now on each line added is shown at once (start-up has built the screen to show it on).
  void StartShowing() { Showing = true; }
  // The lines added before the console was shown, kept aside as they came.
  const std::vector<std::string>& EarlyLines() const { return Early; }
  // Every line also goes to standard output (followed from outside by the window tests).
  bool EchoToStdout = false;

  void AddLine(std::string_view text);
  int Count() const { return static_cast<int>(Ends.size()); }
  std::string_view Line(int index) const {
    const std::size_t i = static_cast<std::size_t>(index);
    const std::size_t begin = i == 0 ? 0 : Ends[i - 1];
    return std::string_view(Text).substr(begin, Ends[i] - begin);
  }
  std::vector<std::string> AllLines() const;

 private:
  // Every line, oldest first, end to end: nothing removes a line, and a long run's thousands of
  // lines cost their characters and one offset each rather than a string apiece.
  std::string Text;
  std::vector<std::uint32_t> Ends;  // where each line ends in Text
  std::vector<std::string> Early;
  bool Showing = false;
};

}  // namespace kravelon
