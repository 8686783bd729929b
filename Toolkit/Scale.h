#pragma once
// Integer display scaling for screens whose desktop asks for it: every window shows its picture
// with each pixel as an N × N block (crisp, nearest neighbour), and the pointer is mapped back,
// so the game keeps working in its own pixels.
struct SDL_Surface;
struct SDL_Rect;

namespace kravelon {

inline constexpr int MaxDisplayScale = 4;

// The scale the desktop asks for: GDK_SCALE, else Xft.dpi of the X resources (192 and up);
// 1 when neither says more.
int DetectDisplayScale();
// The largest scale up to `wanted` at which a width × height window still fits on the screen.
int FitDisplayScale(int wanted, int width, int height);
// Set before any window is made; 1 to MaxDisplayScale.
void SetDisplayScale(int scale);
int DisplayScale();

// Copies `part` of `from` onto `to` with its top-left corner at the physical pixel (x, y), each
// pixel as a scale × scale block. Both surfaces are 32-bit in one format.
void CopyScaled(SDL_Surface* from, const SDL_Rect& part, SDL_Surface* to, int x, int y, int scale);

}  // namespace kravelon
