#pragma once
// Platform services the game asks for by name: pauses, the beep, files and folders, the
// program's own folder, the screen and the mouse cursor.
#include <cstdint>
#include <functional>
#include <string>

#include "Toolkit/Types.h"

// A blocking pause. Tests replace the sleeper to run without waiting and to see the pauses.
void Sleep(int milliseconds);
using TSleeper = std::function<void(int milliseconds)>;
void SetSleeper(TSleeper sleeper);  // an empty function restores the real pause

// The system beep: a short tone on the sound device (nothing when there is none).
void Beep();

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);
// The real executable's folder (links resolved), ending in '/'.
std::string ExecutableFolder();
// Hands memory freed inside the heap back to the system (start-up decodes and frees megabytes
// that the allocator would otherwise keep).
void ReturnFreedMemory();
// Screen size in pixels (of the first display).
TPoint ScreenSize();

enum class TCursorResult { Loaded, NotFound, Failed };
// Loads a Windows .CUR file and makes it the cursor of every window. Anything short of success
// leaves the ordinary arrow.
TCursorResult LoadCursorFromFile(const std::string& path);
