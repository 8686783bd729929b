#pragma once
// Owning pointers for the window layer's SDL handles, beside the decoders' (Formats/SdlPtr.h):
// windows, cursors, pixel formats, fonts and game controllers, each released by its deleter's
// overload in SdlPtr.cpp.
#include <memory>

#include "Formats/SdlPtr.h"

struct SDL_Window;
struct SDL_Cursor;
struct SDL_PixelFormat;
struct _TTF_Font;  // SDL_ttf's name behind TTF_Font
struct _SDL_GameController;  // SDL's name behind SDL_GameController

namespace kravelon {

struct TSdlWindowDeleter {
  void operator()(SDL_Window* window) const;
  void operator()(SDL_Cursor* cursor) const;
  void operator()(SDL_PixelFormat* format) const;
  void operator()(_TTF_Font* font) const;
  void operator()(_SDL_GameController* controller) const;
};

using TWindowPtr = std::unique_ptr<SDL_Window, TSdlWindowDeleter>;
using TCursorPtr = std::unique_ptr<SDL_Cursor, TSdlWindowDeleter>;
using TPixelFormatPtr = std::unique_ptr<SDL_PixelFormat, TSdlWindowDeleter>;
using TFontPtr = std::unique_ptr<_TTF_Font, TSdlWindowDeleter>;
using TGameControllerPtr = std::unique_ptr<_SDL_GameController, TSdlWindowDeleter>;

}  // namespace kravelon
