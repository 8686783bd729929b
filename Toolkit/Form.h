#pragma once
// Windows (forms) and the flat buttons on them: what is drawn on a window and how its own events
// reach the game's handlers.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Toolkit/Application.h"
#include "Toolkit/Graphics.h"
#include "Toolkit/SdlPtr.h"
#include "Common/Types.h"

struct SDL_Window;
union SDL_Event;

namespace kravelon {

enum class TMouseButton { Left, Right, Middle };
enum class TBorderStyle { None, Single };
enum class TWindowState { Normal, Maximized };

// A flat button on a form: the mouse events over it are its own.
class TSpeedButton {
 public:
  TRect Bounds;
  std::function<void()> OnClick;
  bool Pressed = false;
};

class TForm : public TAppWindow {
 public:
  explicit TForm(std::string caption, int width, int height);
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  // Window properties; each takes effect at once.
  void SetBorderStyle(TBorderStyle style);
  void SetStayOnTop(bool on);
  void SetWindowState(TWindowState state);
  void SetSize(int width, int height);
  void CenterOnScreen();
  void Show() override;
  void Hide();
  bool Visible() const;
  void Raise();  // to the front, with the keyboard
  // Closing the application's main form ends the application; any other form is hidden.
  void Close();
  TColor Color = clr::Black;
  bool DoubleBuffered = false;
  bool KeyPreview = false;

  int ClientWidth() const;
  int ClientHeight() const;
  TPoint Position() const;
  // Where the pointer really is now, in the window's own pixels; nothing when it is off the
  // window. Asked of the window system, not taken from the events a modal loop kept to itself.
  std::optional<TPoint> PointerPosition() const;
  std::uint32_t WindowId() const override;
  // A point of the window's surface (SDL's pixels) in the game's own pixels.
  TPoint ToLogical(int x, int y) const;

  // Sizes and positions are in the game's own pixels; a scaled display multiplies them.
  // The window's canvas: what is drawn on it shows at once.
  TCanvas& Canvas();
  // Shows `picture` as the whole window content (plus any overlay) in one piece.
  void Present(const TBitmap& picture);
  // Shows only these rectangles of `picture` (in the game's pixels, the picture at the window's
  // origin); the rest of the window keeps what it shows. An overlay stays on top of them.
  void PresentRects(const TBitmap& picture, const TRect* rects, int count);
  // A picture kept over everything the window shows (an open popup menu), at window
  // coordinates, until cleared. Setting it sends only its own rectangle to the screen.
  void SetOverlay(const TBitmap* picture, TPoint at);
  // Sends again a part of the overlay (in the overlay's coordinates) that has changed.
  void UpdateOverlay(const TRect& part);
  // Removes the overlay and repaints the window without it.
  void ClearOverlay();
  bool HasOverlay() const { return OverlayPicture != nullptr; }
  // Updates sent to the screen so far, each one call to the window system however many
  // rectangles it holds: what a change costs the display.
  std::uint64_t UpdatesSent() const { return Updates; }
  // Repaints the whole window: its colour, OnPaint, then the overlay.
  void Repaint();
  // For a window nothing is drawn on: the window system fills it with Color where it can, and
  // no picture of the window is kept (a screen-sized one is megabytes).
  void LeaveColorToWindowSystem();

  std::vector<TSpeedButton*> Buttons;

  // Bindable handlers, named like the game's.
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(TMouseButton button, int x, int y)> OnMouseDown;
  std::function<void()> OnMouseWheelUp;    // one call per notch, away from the user
  std::function<void()> OnMouseWheelDown;  // towards the user
  std::function<void(char& key)> OnKeyPress;
  std::function<void(int& key)> OnKeyDown;
  std::function<void()> OnPaint;
  std::function<void()> OnFocusGained;
  std::function<void()> OnCloseRequest;  // the window manager's close button
  std::function<void()> OnDestroy;

  // Routes one event meant for this window to its handlers.
  void Dispatch(const SDL_Event& event) override;
  // A key pressed (SDL's key code, scan code and the modifiers held with it), as its key-down
  // event reaches the handlers: OnKeyDown with its virtual key code, then OnKeyPress with its
  // control character.
  void PressKey(std::int32_t sdlKey, int scancode, std::uint16_t modifiers = 0);
  SDL_Window* Handle() const { return Window.get(); }

 private:
  void RefreshSurface();
  // The only two places pictures reach the window, both in the game's pixels (a scaled display
  // enlarges them here): a part of a picture copied onto the window surface with its top-left
  // corner at `at`, and rectangles of the window sent to the screen.
  void CopyToSurface(const TBitmap& picture, const TRect& part, TPoint at);
  void SendRects(const TRect* rects, int count);
  void DrawOverlay(const TRect& part);
  void ShowLogical();
  void CoverScreen();
  TWindowState State = TWindowState::Normal;
  TSpeedButton* ButtonAt(int x, int y) const;

  TWindowPtr Window;
  TCanvas WindowCanvas;
  TSpeedButton* Captured = nullptr;  // the button a press started on
  TBitmap Logical;  // what the canvas draws on when the display is scaled
  const TBitmap* OverlayPicture = nullptr;
  TPoint OverlayAt;
  bool ColorBySystem = false;
  std::uint64_t Updates = 0;
};

}  // namespace kravelon
