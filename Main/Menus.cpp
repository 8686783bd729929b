// The popup menus: their items and handlers, how a menu is placed and how an item is drawn; and
// the statistics box of the game-over menu.
#include <string>

#include "Main/Main1.h"
#include "Toolkit/Memory.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Pause.h"

namespace kravelon {

namespace {

constexpr int MenuItemWidth = 256;
constexpr int MenuItemHeight = 64;
constexpr int SoundTag = 1;  // the item that carries the sound switch's tick

}  // namespace

void TMain1::SetUpMenus() {
  PopupMenu1.Items = {&N6, &N7, &N11, &N2, &N1};
  PopupMenu2.Items = {&N3, &N4, &N5};
  PopupMenu3.Items = {&N9, &N10, &N8};
  N11.Tag = SoundTag;
  N11.AutoCheck = true;
  N11.Checked = true;
  N3.Enabled = false;
  N6.OnClick = [this](TMenuItem&) { N6Click(); };
  N9.OnClick = N6.OnClick;
  N7.OnClick = [this](TMenuItem&) { N7Click(); };
  N2.OnClick = [this](TMenuItem&) { N2Click(); };
  N1.OnClick = [this](TMenuItem&) { N1Click(); };
  N8.OnClick = N1.OnClick;
  N4.OnClick = [this](TMenuItem&) { N4Click(); };
  N10.OnClick = [this](TMenuItem&) { N10Click(); };
  // A player who switches the sound off expects silence at once, the looped win tune included.
  N11.OnClick = [this](TMenuItem& item) {
    if (!item.Checked && Sound) Sound->Stop();
  };
  Sound->SoundOn = [this] { return N11.Checked; };
}

void TMain1::PrepareMenu(TPopupMenu& menu) {
  menu.Alignment = TPopupAlignment::Center;
  menu.OwnerDraw = true;
  for (TMenuItem* item : menu.Items) {
    item->OnDrawItem = [this](TMenuItem& sender, TCanvas& canvas, const TRect& rect,
                              bool selected) { N1DrawItem(sender, canvas, rect, selected); };
    item->OnMeasureItem = [this](TMenuItem& sender, TCanvas& canvas, int& width, int& height) {
      N1MeasureItem(sender, canvas, width, height);
    };
  }
}

// The anchor is the middle of the menu's top edge: the menu stands centred on the screen,
// 4 pixels higher.
void TMain1::ShowMenu(TPopupMenu& menu) {
  const int n = static_cast<int>(menu.Items.size());
  menu.Popup(ScreenCenterX, ScreenCenterY - (MenuItemHeight / 2) * n - 4);
}

void TMain1::N1MeasureItem(TMenuItem&, TCanvas&, int& width, int& height) {
  width = MenuItemWidth;
  height = MenuItemHeight;
}

void TMain1::N1DrawItem(TMenuItem& sender, TCanvas& canvas, const TRect& rect, bool selected) {
  if (!Paint) return;
  canvas.Font = Paint->BigFont;
  canvas.BrushColor = clr::Blue;
  canvas.Font.Color = selected ? clr::Yellow : clr::Aqua;
  canvas.BrushStyle = TBrushStyle::Solid;
  if (!sender.Enabled) {
    canvas.Font.Color = clr::Lime;
    canvas.Draw(rect.Left, rect.Top, Paint->GetImage("IM_MENU"));
  }
  if (selected && sender.Enabled) canvas.Draw(rect.Left, rect.Top, Paint->GetImage("IM_MENU_SELECT"));
  if (!selected && sender.Enabled) canvas.FillRect(rect);
  canvas.BrushStyle = TBrushStyle::Clear;
  const int w = canvas.TextWidth(sender.Caption);
  const int h = canvas.TextHeight(sender.Caption);
  canvas.TextOut(rect.Left + (rect.Width() - w) / 2, rect.Top + (rect.Height() - h) / 2,
                 sender.Caption);
  if (sender.Tag == SoundTag) {
    canvas.Font.Name = "Webdings";
    if (sender.Checked) canvas.TextOut(rect.Left + 8, rect.Top + 8, "a");
  }
}

void TMain1::N6Click() {
  Sleep(500);
  if (Engine) Engine->NewGame();
  // Ends an arrangement or a computer's turn in progress.
  Application->ClearIdle();
  // What the finished game's log texts and explosions freed goes back to the system.
  ReturnFreedMemory();
}

void TMain1::N7Click() {
  if (!Engine || Engine->State != gsPlacing || Engine->ActiveSide != sdUser) return;
  PlacementByMouse = false;
  InstallIdle(TIdleStep::Arrange);
}

void TMain1::N2Click() {
  if (!Engine || Engine->State == gsAbout) return;
  SavedState = Engine->State;
  Engine->State = gsAbout;
  if (Paint) Paint->Redraw();
}

void TMain1::N1Click() { ShowMenu(PopupMenu2); }

void TMain1::N4Click() { Close(); }

void TMain1::N10Click() {
  if (!Engine) return;
  const int shots = Engine->ComputerShots, hits = Engine->ComputerHits;
  // Cut towards zero, never rounded up: 2 hits of 3 shots are 66 %.
  const int percent = shots == 0 ? 0 : 100 * hits / shots;
  MessageBox("Процент попадания компютера составил: " + std::to_string(percent) + " %",
             Application->Title, TMessageIcon::Information);
}

}  // namespace kravelon
