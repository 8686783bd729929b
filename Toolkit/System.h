#pragma once
// Platform services the game asks for by name: pauses, the beep, files and folders, the
// program's own folder, the screen and the mouse cursor.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Common/Types.h"

namespace kravelon {

// A blocking pause; it ends early once a quit is queued (a signal, the window closed). Tests
// replace the sleeper to run without waiting and to see the pauses.
void Sleep(int milliseconds);
using TSleeper = std::function<void(int milliseconds)>;
void SetSleeper(TSleeper sleeper);  // an empty function restores the real pause

// The system beep: a short tone on the sound device (nothing when there is none).
void Beep();

bool DirectoryExists(const std::string& path);
bool FileExists(const std::string& path);

enum class TReadResult { Read, Missing, TooLarge, Failed };
// Reads a whole regular file of at most maxBytes. A folder, or anything else that is no regular
// file, is Missing: it is not the file asked for.
TReadResult ReadFileBytes(const std::string& path, std::size_t maxBytes,
                          std::vector<std::uint8_t>& bytes);
// The real executable's folder (links resolved), ending in '/'.
std::string ExecutableFolder();
// Hands memory freed inside the heap back to the system (start-up decodes and frees megabytes
// that the allocator would otherwise keep).
void ReturnFreedMemory();
// Screen size in pixels (of the first display).
TPoint ScreenSize();

// Windows cursors are at most 256 × 256; several sizes in one file stay well under a megabyte.
inline constexpr int MaxCursorSide = 256;
inline constexpr std::size_t MaxCursorFileBytes = 1u << 20;

// NotFound: no such file (or a folder of that name). Refused: its header declares a size out of
// bounds or beyond the file. Failed: no cursor file, or none can be made here.
enum class TCursorResult { Loaded, NotFound, Refused, Failed };
// Loads a Windows .CUR file and makes it the cursor of every window. Anything short of success
// leaves the ordinary arrow.
TCursorResult LoadCursorFromFile(const std::string& path);
// Frees the loaded cursor (before SDL_Quit, which would free it under us).
void ReleaseCursor();

}  // namespace kravelon
