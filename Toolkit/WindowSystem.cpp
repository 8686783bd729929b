#include "Toolkit/WindowSystem.h"

#include <SDL_syswm.h>


#include "Toolkit/SdlPtr.h"

namespace kravelon {

#if defined(SDL_VIDEO_DRIVER_X11)
namespace {

XErrorHandler PreviousHandler = nullptr;
bool Installed = false;

int PassOverVanishedWindows(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow) return 0;
  return PreviousHandler ? PreviousHandler(display, error) : 0;
}

}  // namespace
#endif

void ForgiveVanishedWindows() {
#if defined(SDL_VIDEO_DRIVER_X11)
  // Set before SDL starts: SDL keeps the handler it finds and puts it back just before it
  // closes the display, whose last flush is where an error about a closed box may arrive.
  if (Installed) return;
  PreviousHandler = XSetErrorHandler(PassOverVanishedWindows);
  Installed = true;
#endif
}

void ForgetVanishedWindows() {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (!Installed) return;
  XSetErrorHandler(PreviousHandler);
  PreviousHandler = nullptr;
  Installed = false;
#endif
}

bool LetWindowSystemFill(SDL_Window* window, TColor color) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
  const TPixelFormatPtr format(SDL_AllocFormat(SDL_GetWindowPixelFormat(window)));
  if (!format) return false;
  const Uint32 pixel = SDL_MapRGB(format.get(), color.R, color.G, color.B);
  // The X server paints the background itself on every exposure.
  XSetWindowBackground(info.info.x11.display, info.info.x11.window, pixel);
  XClearWindow(info.info.x11.display, info.info.x11.window);
  XFlush(info.info.x11.display);
  return true;
#else
  (void)window;
  (void)color;
  return false;
#endif
}

}  // namespace kravelon
