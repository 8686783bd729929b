// The nested loops of a popup menu and a message box: what goes on underneath while they are open.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "Toolkit/Application.h"
#include "Audio/Audio.h"
#include "Toolkit/Form.h"
#include "Toolkit/Menus.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Timer.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

namespace {

using ModalTest = ToolkitFixture;

void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

// A sound ends while a modal is open: its device must close then, not after. A fast timer watches
// from inside the modal and, once the device has closed (or a second has passed), sends what
// closes the modal. The idle step waits throughout.
TEST_F(ModalTest, TicksAndTheSoundsIdleNoteGoOnWhileAMenuOrABoxIsOpen) {
  TForm form("modal test", 200, 100);
  form.Show();
  TPopupMenu menu(form);
  TMenuItem item{"Пункт"};
  menu.Items = {&item};
  bool chosen = false;
  item.OnClick = [&](TMenuItem&) { chosen = true; };
  SetMessageBoxHandler({});  // the real box, with its own loop
  struct TCase {
    const char* Name;
    std::function<SDL_Event()> Closer;
    std::function<void()> Open;
  };
  const TCase cases[] = {
      {"the menu",
       [&] {
         SDL_Event escape{};
         escape.type = SDL_KEYDOWN;
         escape.key.windowID = form.WindowId();
         escape.key.keysym.sym = SDLK_ESCAPE;
         return escape;
       },
       [&] { menu.Popup(form.Position().X, form.Position().Y); }},
      {"the message box",
       [] {
         SDL_Event quit{};
         quit.type = SDL_QUIT;
         return quit;
       },
       [] { MessageBox("Текст", "Кравелон", TMessageIcon::Information); }},
  };
  const std::vector<std::int16_t> tone(2 * 4410, 1000);  // a tenth of a second
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    int idleSteps = 0;
    App->SetIdle([&](bool& done) {
      ++idleSteps;
      done = true;
    });
    std::vector<bool> ticksInModal;
    bool closeSent = false;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    TTimer watch;
    watch.SetInterval(5);
    watch.OnTimer = [&] {
      ticksInModal.push_back(App->InModal());
      if (closeSent || (AudioDeviceOpen() && std::chrono::steady_clock::now() < giveUp)) return;
      closeSent = true;
      Push(c.Closer());
    };
    PlaySamples(tone.data(), tone.size() / 2);
    ASSERT_TRUE(AudioDeviceOpen());
    watch.SetEnabled(true);
    c.Open();
    watch.SetEnabled(false);
    EXPECT_FALSE(App->InModal());
    EXPECT_FALSE(AudioDeviceOpen());
    EXPECT_TRUE(closeSent);
    ASSERT_FALSE(ticksInModal.empty());
    EXPECT_EQ(ticksInModal, std::vector<bool>(ticksInModal.size(), true));
    EXPECT_EQ(idleSteps, 0);
    App->ClearIdle();
  }
  EXPECT_FALSE(chosen);
  // The quit that closed the box waits in the queue for the main loop.
  EXPECT_FALSE(App->Terminated());
  SDL_PumpEvents();
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1);
}

// A game controller's A or B closes a box; its other buttons, and its presses meant for the game
// beneath, stay with the box.
TEST_F(ModalTest, AControllersAOrBClosesABox) {
  SetMessageBoxHandler({});  // the real box, with its own loop
  std::vector<Uint8> heard;
  App->OnControllerEvent = [&](const SDL_Event& e) { heard.push_back(e.cbutton.button); };
  for (const auto closer : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B}) {
    SCOPED_TRACE(closer);
    for (const auto button : {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_DPAD_UP, closer}) {
      SDL_Event e{};
      e.type = SDL_CONTROLLERBUTTONDOWN;
      e.cbutton.button = static_cast<Uint8>(button);
      Push(e);
    }
    MessageBox("Текст", "Кравелон", TMessageIcon::Information);
    EXPECT_FALSE(App->InModal());
  }
  App->ProcessMessages();
  EXPECT_TRUE(heard.empty());
  App->OnControllerEvent = nullptr;
}

}  // namespace

}  // namespace kravelon
