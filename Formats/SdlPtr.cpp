#include "Formats/SdlPtr.h"

#include <SDL_audio.h>
#include <SDL_rwops.h>
#include <SDL_surface.h>

namespace kravelon {

void TSdlDeleter::operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
void TSdlDeleter::operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
void TSdlDeleter::operator()(std::uint8_t* waveBuffer) const { SDL_FreeWAV(waveBuffer); }

}  // namespace kravelon
