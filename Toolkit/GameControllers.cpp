#include "Toolkit/GameControllers.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "Toolkit/Application.h"
#include "Toolkit/Form.h"

namespace kravelon {

namespace {

// Each button SDL reports, as the game names it and the key it presses: A is Space, B Escape,
// Y the R key, X F2, Start the menu key, Back F1, the shoulders Tab and F3, the D-pad the arrows.
struct TButtonKey {
  SDL_GameControllerButton Sdl;
  TPadButton Button;
  SDL_Keycode Key;
  SDL_Scancode Scancode;
};
constexpr TButtonKey ButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_A, TPadButton::A, SDLK_SPACE, SDL_SCANCODE_SPACE},
    {SDL_CONTROLLER_BUTTON_B, TPadButton::B, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE},
    {SDL_CONTROLLER_BUTTON_X, TPadButton::X, SDLK_F2, SDL_SCANCODE_F2},
    {SDL_CONTROLLER_BUTTON_Y, TPadButton::Y, SDLK_r, SDL_SCANCODE_R},
    {SDL_CONTROLLER_BUTTON_BACK, TPadButton::Back, SDLK_F1, SDL_SCANCODE_F1},
    {SDL_CONTROLLER_BUTTON_START, TPadButton::Start, SDLK_APPLICATION, SDL_SCANCODE_APPLICATION},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, TPadButton::LeftShoulder, SDLK_TAB, SDL_SCANCODE_TAB},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, TPadButton::RightShoulder, SDLK_F3, SDL_SCANCODE_F3},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, TPadButton::Up, SDLK_UP, SDL_SCANCODE_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, TPadButton::Down, SDLK_DOWN, SDL_SCANCODE_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, TPadButton::Left, SDLK_LEFT, SDL_SCANCODE_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, TPadButton::Right, SDLK_RIGHT, SDL_SCANCODE_RIGHT},
};

// The one that hears the application's controller events (the newest made).
TGameControllers* Listening = nullptr;

bool IsDirection(TPadButton button) {
  return button == TPadButton::Up || button == TPadButton::Down || button == TPadButton::Left ||
         button == TPadButton::Right;
}

}  // namespace

TPadButton PadButtonOf(const SDL_Event& event) {
  if (event.type != SDL_CONTROLLERBUTTONDOWN) return TPadButton::None;
  for (const TButtonKey& b : ButtonKeys) {
    if (b.Sdl == event.cbutton.button) return b.Button;
  }
  return TPadButton::None;
}

TGameControllers::TGameControllers(TForm& keys) : Keys(keys) {
  Repeat.OnTimer = [this] { RepeatTick(); };
  // The ones plugged in before: their arrival may have gone by before this was listening.
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0) {
    for (int i = 0; i < SDL_NumJoysticks(); ++i) Open(i);
  }
  if (Application) Application->OnControllerEvent = [this](const SDL_Event& e) { Dispatch(e); };
  Listening = this;
}

TGameControllers::~TGameControllers() {
  if (Listening != this) return;
  Listening = nullptr;
  if (Application) Application->OnControllerEvent = nullptr;
}

void TGameControllers::Open(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  const SDL_JoystickID instance = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  for (const TGameControllerPtr& open : Opened) {
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(open.get())) == instance) return;
  }
  if (TGameControllerPtr controller{SDL_GameControllerOpen(deviceIndex)}) {
    Opened.push_back(std::move(controller));
  }
}

void TGameControllers::Close(std::int32_t instance) {
  std::erase_if(Opened, [instance](const TGameControllerPtr& open) {
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(open.get())) == instance;
  });
  // A stick held on the controller that went is let go with it.
  Follow();
}

void TGameControllers::Dispatch(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Open(event.cdevice.which);
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      Close(event.cdevice.which);
      break;
    case SDL_CONTROLLERBUTTONDOWN: {
      const TPadButton button = PadButtonOf(event);
      if (IsDirection(button)) {
        Follow();
      } else if (button != TPadButton::None) {
        Press(button);
      }
      break;
    }
    case SDL_CONTROLLERBUTTONUP:
      Follow();
      break;
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ||
          event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        Follow();
      }
      break;
    default:
      break;
  }
}

TGameControllers::TDirection TGameControllers::Held() const {
  for (const TGameControllerPtr& open : Opened) {
    SDL_GameController* c = open.get();
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_UP)) return TDirection::Up;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_DOWN)) return TDirection::Down;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_LEFT)) return TDirection::Left;
    if (SDL_GameControllerGetButton(c, SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) return TDirection::Right;
  }
  for (const TGameControllerPtr& open : Opened) {
    const int x = SDL_GameControllerGetAxis(open.get(), SDL_CONTROLLER_AXIS_LEFTX);
    const int y = SDL_GameControllerGetAxis(open.get(), SDL_CONTROLLER_AXIS_LEFTY);
    if (std::max(std::abs(x), std::abs(y)) < DeadZone) continue;
    // The axis it leans along the most.
    if (std::abs(x) > std::abs(y)) return x < 0 ? TDirection::Left : TDirection::Right;
    return y < 0 ? TDirection::Up : TDirection::Down;
  }
  return TDirection::None;
}

void TGameControllers::Follow() {
  // Under a menu or a box nothing steps: they answer the controller themselves.
  if (Application && Application->InModal()) {
    Current = TDirection::None;
    Repeat.SetEnabled(false);
    return;
  }
  const TDirection held = Held();
  if (held == Current) return;
  Current = held;
  Repeat.SetEnabled(false);
  if (held == TDirection::None) return;
  Step(held);
  Repeat.SetInterval(RepeatDelay);
  Repeat.SetEnabled(true);
}

void TGameControllers::RepeatTick() {
  const TDirection held = Held();
  // A menu or a box opened meanwhile ends the repeat; the direction counts afresh once held again.
  if (held != Current || (Application && Application->InModal())) {
    Follow();
    return;
  }
  Step(held);
  Repeat.SetInterval(RepeatInterval);
}

void TGameControllers::Step(TDirection direction) {
  // By the directions' order, after None.
  static constexpr TPadButton Buttons[] = {TPadButton::Up, TPadButton::Down, TPadButton::Left,
                                           TPadButton::Right};
  const int at = static_cast<int>(direction) - static_cast<int>(TDirection::Up);
  if (at >= 0 && at < static_cast<int>(std::size(Buttons))) Press(Buttons[at]);
}

void TGameControllers::Press(TPadButton button) {
  for (const TButtonKey& b : ButtonKeys) {
    if (b.Button == button) Keys.PressKey(b.Key, b.Scancode);
  }
}

}  // namespace kravelon
