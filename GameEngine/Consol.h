#pragma once
// The game's event log: every subsystem appends lines; the console panel shows the newest.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TConsol {
 public:
  // Called for each line added once GraphicsReady is set: the painter's full redraw.
  std::function<void()> OnRedraw;
  // The hidden text pane that collects the lines added before GraphicsReady.
  std::vector<std::string> Memo1;
  // Every line also goes to standard output (followed from outside by the window tests).
  bool EchoToStdout = false;

  void AddLine(std::string_view text);
  int Count() const { return static_cast<int>(Lines.size()); }
  const std::string& Line(int index) const { return Lines[static_cast<std::size_t>(index)]; }
  const std::vector<std::string>& AllLines() const { return Lines; }

 private:
  std::vector<std::string> Lines;  // oldest first; nothing removes a line
};
