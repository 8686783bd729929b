#pragma once
// Owning pointers for the SDL handles the decoders make: each type's release call lives once, in
// the deleter's overload for it, so an exception or an early return cannot leak a handle. The
// overloads are defined in SdlPtr.cpp to keep SDL's headers out of the game's. The window's own
// handles (windows, cursors, fonts) are the toolkit's: Toolkit/SdlPtr.h.
#include <cstdint>
#include <memory>

struct SDL_Surface;
struct SDL_RWops;

namespace kravelon {

struct TSdlDeleter {
  void operator()(SDL_Surface* surface) const;
  void operator()(SDL_RWops* rw) const;
  void operator()(std::uint8_t* waveBuffer) const;  // only a buffer SDL_LoadWAV allocated
};

using TSurfacePtr = std::unique_ptr<SDL_Surface, TSdlDeleter>;
using TRwPtr = std::unique_ptr<SDL_RWops, TSdlDeleter>;
using TWaveBufferPtr = std::unique_ptr<std::uint8_t, TSdlDeleter>;

}  // namespace kravelon
