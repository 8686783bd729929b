#include "GameEngine/Globals.h"

TGameEngine* Engine = nullptr;
TConsol* Consol = nullptr;
TPaint* Paint = nullptr;
TSound* Sound = nullptr;
bool GraphicsReady = false;
