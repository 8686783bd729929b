#pragma once
// The keys as the game's handlers see them: virtual key codes for key downs, control characters
// for key presses. Printable characters arrive as text input instead.
#include <cstdint>

namespace kravelon {

// Virtual key codes the game tests for. Letters are 'A' to 'Z'.
inline constexpr int VK_TAB = 9;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_SPACE = 32;
inline constexpr int VK_PRIOR = 33;  // Page Up
inline constexpr int VK_NEXT = 34;   // Page Down
inline constexpr int VK_END = 35;
inline constexpr int VK_HOME = 36;
inline constexpr int VK_LEFT = 37;
inline constexpr int VK_UP = 38;
inline constexpr int VK_RIGHT = 39;
inline constexpr int VK_DOWN = 40;
inline constexpr int VK_APPS = 93;  // the keyboard's menu key
inline constexpr int VK_F1 = 112;
inline constexpr int VK_F2 = 113;
inline constexpr int VK_F3 = 114;
inline constexpr char VK_ESCAPE_CHAR = 27;

// The virtual key code of a key (SDL_Keycode and SDL_Scancode); 0 for a key the game has no code
// for. Letters go by the key's place on the keyboard, not by what the layout types there, so the
// same key answers with a Russian layout active.
int KeyCodeOf(std::int32_t sdlKey, int scancode);
// Whether a Ctrl key is held: with the key being handled, as its event says (a key waits in the
// queue while the computer shoots, and Ctrl may be let go by the time it is handled); else now.
bool ControlHeld();
// While one lives, ControlHeld answers from these modifiers (SDL's, of the key being handled).
class TKeyModifiers {
 public:
  explicit TKeyModifiers(std::uint16_t modifiers);
  ~TKeyModifiers();
  TKeyModifiers(const TKeyModifiers&) = delete;
  TKeyModifiers& operator=(const TKeyModifiers&) = delete;

 private:
  int Before;
};
// The control character a key gives (Escape, Return, Backspace, Tab); 0 for any other key.
char ControlCharOf(std::int32_t sdlKey);

}  // namespace kravelon
