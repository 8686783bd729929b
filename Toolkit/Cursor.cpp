#include "Toolkit/Cursor.h"

#include <SDL.h>

#include <utility>
#include <vector>

#include "Platform/Files.h"
#include "Toolkit/SdlPtr.h"

namespace kravelon {

namespace {

TCursorPtr LoadedCursor;

}  // namespace

TCursorResult LoadCursorFromFile(const std::string& path) {
  const TFileBytes file = ReadLimited(path, MaxCursorFileBytes);
  switch (file.Status) {
    case TReadStatus::Read: break;
    case TReadStatus::Missing:
    case TReadStatus::NotAFile: return TCursorResult::NotFound;
    case TReadStatus::TooLarge: return TCursorResult::Refused;
    case TReadStatus::Failed: return TCursorResult::Failed;
  }
  TCursorImage image;
  const TCursorResult decoded = DecodeCursor(file.Data(), file.Size(), image);
  if (decoded != TCursorResult::Loaded) return decoded;
  TCursorPtr cursor(SDL_CreateColorCursor(image.Pixels.get(), image.HotX, image.HotY));
  if (!cursor) return TCursorResult::Failed;  // e.g. a video driver with no cursors
  SDL_SetCursor(cursor.get());
  LoadedCursor = std::move(cursor);
  return TCursorResult::Loaded;
}

void ReleaseCursor() { LoadedCursor.reset(); }

}  // namespace kravelon
