#pragma once
// The application: the event loop with its one idle slot, and where each event goes (the quit
// request, work posted from other threads, timer ticks, the windows' own events).
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

union SDL_Event;

namespace kravelon {

// A window as the application sees it: shown when the loop starts if it is the main one, and
// handed the events of its own window. TForm is one; the application needs no more of it.
class TAppWindow {
 public:
  virtual void Show() = 0;
  virtual std::uint32_t WindowId() const = 0;
  virtual void Dispatch(const SDL_Event& event) = 0;

 protected:
  ~TAppWindow() = default;
};

// What a modal loop's filter makes of each event.
enum class TModalAnswer {
  Handled,   // the modal's own: it acted on it, or keeps it from the windows beneath
  Dispatch,  // handled as the main loop would (repaints, timer ticks, the sound's idle note, a quit)
  Close,     // the modal ends here; the event goes no further
};
using TModalFilter = std::function<TModalAnswer(const SDL_Event& event)>;

// Input from the keyboard, the pointer or a game controller's buttons and sticks: what a modal
// keeps from the windows beneath it.
bool IsUserInput(const SDL_Event& event);
// An event of a game controller: plugged in, unplugged, a button or a stick.
bool IsControllerEvent(const SDL_Event& event);

class TApplication {
 public:
  using TIdleHandler = std::function<void(bool& done)>;

  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  std::string Title;
  TAppWindow* MainForm = nullptr;

  // The one idle slot. A step that answers done = false is called again at once while no input
  // is pending; with nothing installed the loop sleeps until the next event.
  void SetIdle(TIdleHandler handler);
  void ClearIdle();
  bool HasIdle() const { return static_cast<bool>(Idle); }
  // Runs the installed step once (nothing when none); what it answered for done.
  bool StepIdle();

  // Hands `work` to the game's thread: the loop running there (the main one, or a menu's or a
  // box's) runs it at its next turn, in the order posted. Any thread may call it, before or
  // during the loop; work still waiting when the toolkit stops is dropped. False when SDL's
  // queue would not take the note (it is full, or SDL is not running): the work is dropped.
  static bool Post(std::function<void()> work);
  // Runs what has been posted so far (the loop does this when the note arrives).
  static void RunPosted();
  // Drops whatever is still waiting (the toolkit stopping).
  static void DropPosted();

  // Runs until Terminate; shows the main form first unless it was terminated before.
  void Run();
  void Terminate();
  bool Terminated() const { return IsTerminated; }
  // Handles every pending event without waiting, then returns.
  void ProcessMessages();
  void Dispatch(const SDL_Event& event);

  // The nested loop of a popup menu or a message box: it waits on events like the main loop, runs
  // no idle step, and lets the filter say what each event is. It returns when the filter answers
  // Close, or once the application is terminated while it runs (a quit it dispatched, a handler
  // that ended the game); one that starts on a terminated application waits for its Close.
  void RunModal(const TModalFilter& filter);
  bool InModal() const { return ModalDepth > 0; }

  // The game controllers' events, which belong to no window (TGameControllers takes them). A
  // menu or a box answers their buttons itself while it is open.
  std::function<void(const SDL_Event& event)> OnControllerEvent;

  // Every window registers itself while it lives.
  void RegisterForm(TAppWindow* form);
  void UnregisterForm(TAppWindow* form);

  // The standard exception display: OnException with the error's message (empty for an error
  // that is no std::exception), or the message on standard error when none is set; then the
  // loop goes on.
  void ShowException(const std::exception& error);
  void ShowException(std::exception_ptr error);
  std::function<void(const std::string& message)> OnException;

 private:
  void RunIdle();
  void ReportError(const std::string& message);
  TIdleHandler Idle;
  bool IsTerminated = false;
  int ModalDepth = 0;  // modal loops running, one inside the other
  std::vector<TAppWindow*> Forms;
};

extern TApplication* Application;

}  // namespace kravelon
