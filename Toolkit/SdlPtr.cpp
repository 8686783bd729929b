#include "Toolkit/SdlPtr.h"

#include <SDL.h>
#include <SDL_ttf.h>

namespace kravelon {

void TSdlWindowDeleter::operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
void TSdlWindowDeleter::operator()(SDL_Cursor* cursor) const { SDL_FreeCursor(cursor); }
void TSdlWindowDeleter::operator()(SDL_PixelFormat* format) const { SDL_FreeFormat(format); }
void TSdlWindowDeleter::operator()(TTF_Font* font) const { TTF_CloseFont(font); }
void TSdlWindowDeleter::operator()(SDL_GameController* controller) const {
  SDL_GameControllerClose(controller);
}

}  // namespace kravelon
