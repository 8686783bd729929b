#pragma once
// The application object, windows (forms), flat buttons and the message-driven timer.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Toolkit/Graphics.h"
#include "Common/Types.h"

struct SDL_Window;
union SDL_Event;

namespace kravelon {

enum class TMouseButton { Left, Right, Middle };
enum class TBorderStyle { None, Single };
enum class TWindowState { Normal, Maximized };

// Virtual key codes the game tests for.
inline constexpr int VK_PRIOR = 33;  // Page Up
inline constexpr int VK_NEXT = 34;   // Page Down
inline constexpr char VK_ESCAPE_CHAR = 27;

class TForm;

// A flat button on a form: the mouse events over it are its own.
class TSpeedButton {
 public:
  TRect Bounds;
  std::function<void()> OnClick;
  bool Pressed = false;
};

class TForm {
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
  void Show();
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
  std::uint32_t WindowId() const;
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
  void Dispatch(const SDL_Event& event);
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
};

// One tick at a time: a tick that has not been handled yet is not queued again.
class TTimer {
 public:
  TTimer();
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  void SetEnabled(bool on);
  bool Enabled() const { return IsEnabled; }
  void SetInterval(int milliseconds);  // restarts the count when running
  int Interval() const { return IntervalMs; }
  std::function<void()> OnTimer;

  void Tick();  // handles one tick from the queue
  int Id() const { return TimerId; }

 private:
  void Restart();
  void Cancel();
  bool IsEnabled = false;
  int IntervalMs = 1000;
  int TimerId;
  int SdlTimer = 0;
};

class TApplication {
 public:
  using TIdleHandler = std::function<void(bool& done)>;

  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  std::string Title;
  TForm* MainForm = nullptr;

  // The one idle slot. A step that answers done = false is called again at once while no input
  // is pending; with nothing installed the loop sleeps until the next event.
  void SetIdle(TIdleHandler handler);
  void ClearIdle();
  bool HasIdle() const { return static_cast<bool>(Idle); }
  // Runs the installed step once (nothing when none); what it answered for done.
  bool StepIdle();

  // Runs until Terminate; shows the main form first unless it was terminated before.
  void Run();
  void Terminate();
  bool Terminated() const { return IsTerminated; }
  // Handles every pending event without waiting, then returns. A nested modal loop (a message
  // box, a popup menu) uses Dispatch itself.
  void ProcessMessages();
  void Dispatch(const SDL_Event& event);

  void RegisterForm(TForm* form);
  void UnregisterForm(TForm* form);
  void RegisterTimer(TTimer* timer);
  void UnregisterTimer(TTimer* timer);

  // The standard exception display: OnException with the error's message (empty for an error
  // that is no std::exception), or the message on standard error when none is set; then the
  // loop goes on.
  void ShowException(const std::exception& error);
  void ShowException(std::exception_ptr error);
  std::function<void(const std::string& message)> OnException;

  // Set while a modal loop runs: the idle step waits and input to the forms is dropped.
  int ModalLevel = 0;

 private:
  void RunIdle();
  void ReportError(const std::string& message);
  TIdleHandler Idle;
  bool IsTerminated = false;
  std::vector<TForm*> Forms;
  std::vector<TTimer*> Timers;
};

extern TApplication* Application;

// Starts SDL's video, timer and event parts. Fails, with a message, where there is no display
// to show a window on: the game would otherwise run invisibly.
bool InitializeToolkit(std::string& error);
void ShutdownToolkit();
// The user event type carrying timer ticks (and nothing else).
std::uint32_t TimerEventType();

}  // namespace kravelon
