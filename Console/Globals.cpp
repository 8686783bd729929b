#include "Console/Globals.h"

namespace kravelon {

bool GraphicsReady = false;

}  // namespace kravelon
