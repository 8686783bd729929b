#pragma once
// Finding a free face for each font role the game names, and opening it at a size.
// Toolkit-internal: includes SDL_ttf.
#include <SDL_ttf.h>

#include <string>
#include <string_view>
#include <vector>

#include "Toolkit/Font.h"

namespace kravelon {

// The candidate families for a face name, best first (the real face only where the machine has
// it, then free faces with Cyrillic).
std::vector<std::string> FontCandidates(const std::string& faceName);
// The file of the first candidate family that fontconfig really has; empty when none.
std::string FindFontFile(const std::string& faceName, bool bold);
// The characters drawn for a text: a symbol face's letters become the Unicode symbols they
// stand for ("Webdings" "a" is a tick).
std::string ShownText(const TFont& font, std::string_view text);
// An open font for the given TFont (points at 96 dpi), cached; null when no face can be loaded.
TTF_Font* OpenFont(const TFont& font);
// The text rendered in the font's colour with an alpha channel, cached: the same texts come back
// on every redraw. Null for empty text or no usable face. The cache owns the surface, which stays
// valid until TextCacheCapacity other texts have been rendered.
SDL_Surface* RenderText(const TFont& font, std::string_view text);
inline constexpr std::size_t TextCacheCapacity = 64;
std::size_t CachedTextCount();
// Releases every cached font and rendered text (before TTF_Quit).
void ReleaseFonts();

}  // namespace kravelon
