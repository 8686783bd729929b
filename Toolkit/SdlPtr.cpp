#include "Toolkit/SdlPtr.h"

#include <SDL.h>
#include <SDL_ttf.h>

void TSurfaceDeleter::operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
void TWindowDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void TCursorDeleter::operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
void TRwDeleter::operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
void TPixelFormatDeleter::operator()(SDL_PixelFormat* format) const { SDL_FreeFormat(format); }
void TFontDeleter::operator()(TTF_Font* font) const { TTF_CloseFont(font); }
void TWaveBufferDeleter::operator()(std::uint8_t* buffer) const { SDL_FreeWAV(buffer); }
