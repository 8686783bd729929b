#pragma once
// The keys as the game's handlers see them: virtual key codes for key downs, control characters
// for key presses. Printable characters arrive as text input instead.
#include <cstdint>

namespace kravelon {

// Virtual key codes the game tests for.
inline constexpr int VK_PRIOR = 33;  // Page Up
inline constexpr int VK_NEXT = 34;   // Page Down
inline constexpr char VK_ESCAPE_CHAR = 27;

// The virtual key code of an SDL key code (SDL_Keycode); 0 for a key the game has no code for.
int KeyCodeOf(std::int32_t sdlKey);
// The control character a key gives (Escape, Return, Backspace, Tab); 0 for any other key.
char ControlCharOf(std::int32_t sdlKey);

}  // namespace kravelon
