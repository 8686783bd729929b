#pragma once
// Game controllers as the keys they stand for: every controller plugged in (before the game
// starts or after) is opened, one unplugged is let go, and their buttons reach a window as its
// keys do. The D-pad and the left stick are the arrow keys, repeating while held as a keyboard's
// keys do; nothing runs while no direction is held.
#include <cstdint>
#include <vector>

#include "Toolkit/SdlPtr.h"
#include "Toolkit/Timer.h"

union SDL_Event;

namespace kravelon {

class TForm;

// A controller's buttons as the game reads them (by their labels: A is the button labelled A).
enum class TPadButton {
  None,
  A,
  B,
  X,
  Y,
  Back,
  Start,
  LeftShoulder,
  RightShoulder,
  Up,
  Down,
  Left,
  Right
};

// The button a controller's button-down event presses; None for any other event.
TPadButton PadButtonOf(const SDL_Event& event);

class TGameControllers {
 public:
  // The keys go to `keys` (the main window): its handlers hear a button as they hear its key.
  // Takes the application's controller events while it lives (the newest made, if more than one).
  explicit TGameControllers(TForm& keys);
  ~TGameControllers();
  TGameControllers(const TGameControllers&) = delete;
  TGameControllers& operator=(const TGameControllers&) = delete;

  // One of the application's controller events.
  void Dispatch(const SDL_Event& event);
  int Count() const { return static_cast<int>(Opened.size()); }

  // How far a stick must lean (of 32767) before it counts as a direction.
  static constexpr int DeadZone = 12000;
  // A held direction steps at once, then after RepeatDelay, then every RepeatInterval, in
  // milliseconds; the tests lengthen them and tick by hand.
  int RepeatDelay = 400;
  int RepeatInterval = 120;
  // The repeat's timer: running only while a direction is held.
  TTimer& RepeatTimer() { return Repeat; }

 private:
  enum class TDirection { None, Up, Down, Left, Right };
  void Open(int deviceIndex);
  void Close(std::int32_t instance);
  // The direction held now on any controller: the D-pad first, then the left stick.
  TDirection Held() const;
  void Follow();  // the held direction changed, or may have
  void RepeatTick();
  void Step(TDirection direction);
  void Press(TPadButton button);

  TForm& Keys;
  std::vector<TGameControllerPtr> Opened;
  TTimer Repeat;
  TDirection Current = TDirection::None;
};

}  // namespace kravelon
