#include "Toolkit/SdlPtr.h"

#include <SDL.h>
#include <SDL_ttf.h>

namespace kravelon {

void TSdlDeleter::operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
void TSdlDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void TSdlDeleter::operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
void TSdlDeleter::operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
void TSdlDeleter::operator()(SDL_PixelFormat* format) const { SDL_FreeFormat(format); }
void TSdlDeleter::operator()(TTF_Font* font) const { TTF_CloseFont(font); }
void TSdlDeleter::operator()(std::uint8_t* waveBuffer) const { SDL_FreeWAV(waveBuffer); }

}  // namespace kravelon
