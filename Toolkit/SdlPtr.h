#pragma once
// Owning pointers for SDL handles: each type's release call lives once, in the deleter's overload
// for it, so an exception or an early return cannot leak a handle. The overloads are defined in
// SdlPtr.cpp to keep SDL's headers out of the game's.
#include <cstdint>
#include <memory>

struct SDL_Surface;
struct SDL_Window;
struct SDL_Cursor;
struct SDL_RWops;
struct SDL_PixelFormat;
struct _TTF_Font;  // SDL_ttf's name behind TTF_Font

namespace kravelon {

struct TSdlDeleter {
  void operator()(SDL_Surface* surface) const;
  void operator()(SDL_Window* window) const;
  void operator()(SDL_Cursor* cursor) const;
  void operator()(SDL_RWops* rw) const;
  void operator()(SDL_PixelFormat* format) const;
  void operator()(_TTF_Font* font) const;
  void operator()(std::uint8_t* waveBuffer) const;  // only a buffer SDL_LoadWAV allocated
};

using TSurfacePtr = std::unique_ptr<SDL_Surface, TSdlDeleter>;
using TWindowPtr = std::unique_ptr<SDL_Window, TSdlDeleter>;
using TCursorPtr = std::unique_ptr<SDL_Cursor, TSdlDeleter>;
using TRwPtr = std::unique_ptr<SDL_RWops, TSdlDeleter>;
using TPixelFormatPtr = std::unique_ptr<SDL_PixelFormat, TSdlDeleter>;
using TFontPtr = std::unique_ptr<_TTF_Font, TSdlDeleter>;
using TWaveBufferPtr = std::unique_ptr<std::uint8_t, TSdlDeleter>;

}  // namespace kravelon
