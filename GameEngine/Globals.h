#pragma once
// The process-wide objects the game names. The main window creates and frees them (in its
// constructor and destroy handler); everyone else only reads the pointers.
class TGameEngine;
class TConsol;
class TPaint;
class TSound;

extern TGameEngine* Engine;
extern TConsol* Consol;
extern TPaint* Paint;
extern TSound* Sound;

// False until start-up has built the pictures and reset the first game; never set back.
extern bool GraphicsReady;
