#pragma once
// Owning pointers for SDL handles: each type's release call lives once, in its deleter, so an
// exception or an early return cannot leak a handle. The deleters are defined in SdlPtr.cpp to
// keep SDL's headers out of the game's.
#include <cstdint>
#include <memory>

struct SDL_Surface;
struct SDL_Window;
struct SDL_Cursor;
struct SDL_RWops;
struct SDL_PixelFormat;
struct _TTF_Font;

struct TSurfaceDeleter {
  void operator()(SDL_Surface* surface) const;
};
struct TWindowDeleter {
  void operator()(SDL_Window* window) const;
};
struct TCursorDeleter {
  void operator()(SDL_Cursor* cursor) const;
};
struct TRwDeleter {
  void operator()(SDL_RWops* rw) const;
};
struct TPixelFormatDeleter {
  void operator()(SDL_PixelFormat* format) const;
};
struct TFontDeleter {
  void operator()(_TTF_Font* font) const;
};
// A buffer SDL_LoadWAV allocated.
struct TWaveBufferDeleter {
  void operator()(std::uint8_t* buffer) const;
};

using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceDeleter>;
using TWindowPtr = std::unique_ptr<SDL_Window, TWindowDeleter>;
using TCursorPtr = std::unique_ptr<SDL_Cursor, TCursorDeleter>;
using TRwPtr = std::unique_ptr<SDL_RWops, TRwDeleter>;
using TPixelFormatPtr = std::unique_ptr<SDL_PixelFormat, TPixelFormatDeleter>;
using TFontPtr = std::unique_ptr<_TTF_Font, TFontDeleter>;
using TWaveBufferPtr = std::unique_ptr<std::uint8_t, TWaveBufferDeleter>;
