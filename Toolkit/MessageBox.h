#pragma once
// Modal message boxes drawn by the toolkit itself: caption, text with line breaks, an icon and
// an OK button, centred on the screen above every other window.
#include <functional>
#include <string>

namespace kravelon {

enum class TMessageIcon { Error, Information };

// Returns when the user closes the box (Return, Space, Escape, a click on OK, or a game
// controller's A or B).
void MessageBox(const std::string& text, const std::string& caption, TMessageIcon icon);


// Tests put a recorder here instead of a window; an empty function restores the real box.
using TMessageBoxHandler =
    std::function<void(const std::string& text, const std::string& caption, TMessageIcon icon)>;
void SetMessageBoxHandler(TMessageBoxHandler handler);

// Told of every box as it opens, shown or recorded: the game speaks it, and the window tests read
// it where they read the console. Any number may watch; each is told while its watch lives.
using TMessageBoxObserver = std::function<void(const std::string& text, const std::string& caption)>;
class TMessageBoxWatch {
 public:
  TMessageBoxWatch() = default;
  explicit TMessageBoxWatch(TMessageBoxObserver observer);
  ~TMessageBoxWatch();
  TMessageBoxWatch(TMessageBoxWatch&& other) noexcept;
  TMessageBoxWatch& operator=(TMessageBoxWatch&& other) noexcept;
  TMessageBoxWatch(const TMessageBoxWatch&) = delete;
  TMessageBoxWatch& operator=(const TMessageBoxWatch&) = delete;

 private:
  int Id = 0;  // 0: watching nothing
};

}  // namespace kravelon
