#include "GameEngine/Globals.h"

bool GraphicsReady = false;
