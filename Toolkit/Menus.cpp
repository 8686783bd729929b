#include "Toolkit/Menus.h"

#include <SDL.h>

#include <algorithm>

#include "Toolkit/Application.h"
#include "Toolkit/Form.h"
#include "Toolkit/GameControllers.h"

namespace kravelon {

namespace {

TPopupMenu* Current = nullptr;

// The look of items nobody draws themselves, and of the classic raised frame.
constexpr TColor MenuFace{212, 208, 200};
constexpr TColor MenuHighlight{10, 36, 106};
constexpr TColor MenuGreyText{128, 128, 128};
constexpr TColor FrameLight{255, 255, 255};
constexpr TColor FrameShadow{128, 128, 128};
constexpr TColor FrameDark{64, 64, 64};
constexpr int PlainItemPadding = 16;

void FillEdge(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight) {
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = topLeft;
  canvas.FillRect({rect.Left, rect.Top, rect.Right, rect.Top + 1});
  canvas.FillRect({rect.Left, rect.Top, rect.Left + 1, rect.Bottom});
  canvas.BrushColor = bottomRight;
  canvas.FillRect({rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom});
  canvas.FillRect({rect.Right - 1, rect.Top, rect.Right, rect.Bottom});
}

}  // namespace

void TMenuItem::Click() {
  if (AutoCheck) Checked = !Checked;
  if (OnClick) OnClick(*this);
}

TPopupMenu::TPopupMenu(TForm& owner) : Owner(owner) {}

TPopupMenu::~TPopupMenu() {
  if (Current == this) Current = nullptr;
}

TPopupMenu* TPopupMenu::OpenMenu() { return Current; }

void TPopupMenu::Layout(int x, int y) {
  TCanvas& canvas = Picture.Canvas;
  canvas.Font = TFont{};
  std::vector<TPoint> sizes;
  int width = 0, height = 0;
  for (TMenuItem* item : Items) {
    int w = 0, h = 0;
    if (OwnerDraw && item->OnMeasureItem) {
      item->OnMeasureItem(*item, canvas, w, h);
    } else {
      w = canvas.TextWidth(item->Caption) + 2 * PlainItemPadding;
      h = canvas.TextHeight(item->Caption) + PlainItemPadding / 2;
    }
    sizes.push_back({std::max(w, 0), std::max(h, 0)});
    width = std::max(width, w);
    height += std::max(h, 0);
  }
  Picture.SetSize(width + 2 * FrameWidth, height + 2 * FrameWidth);
  ItemRects.clear();
  int top = FrameWidth;
  for (const TPoint& size : sizes) {
    // Every item takes the menu's full width, as in any desktop menu.
    ItemRects.push_back({FrameWidth, top, FrameWidth + width, top + size.Y});
    top += size.Y;
  }
  // The anchor comes in screen coordinates; the menu is drawn on its owner.
  const TPoint origin = Owner.Position();
  int left = x - origin.X;
  if (Alignment == TPopupAlignment::Center) left -= Picture.Width() / 2;
  if (Alignment == TPopupAlignment::Right) left -= Picture.Width();
  int topEdge = y - origin.Y;
  // Kept on the owner, which is all of the screen the menu can be drawn on.
  left = std::max(0, std::min(left, Owner.ClientWidth() - Picture.Width()));
  topEdge = std::max(0, std::min(topEdge, Owner.ClientHeight() - Picture.Height()));
  Area = {left, topEdge, left + Picture.Width(), topEdge + Picture.Height()};
}

void TPopupMenu::DrawFrame() {
  TCanvas& canvas = Picture.Canvas;
  const int w = Picture.Width(), h = Picture.Height();
  FillEdge(canvas, {0, 0, w, h}, MenuFace, FrameDark);
  FillEdge(canvas, {1, 1, w - 1, h - 1}, FrameLight, FrameShadow);
  FillEdge(canvas, {2, 2, w - 2, h - 2}, MenuFace, MenuFace);
}

void TPopupMenu::DrawItem(int index) {
  TMenuItem& item = *Items[index];
  const TRect& rect = ItemRects[index];
  const bool selected = index == Highlight;
  TCanvas& canvas = Picture.Canvas;
  if (OwnerDraw && item.OnDrawItem) {
    item.OnDrawItem(item, canvas, rect, selected);
    return;
  }
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = selected && item.Enabled ? MenuHighlight : MenuFace;
  canvas.FillRect(rect);
  canvas.Font = TFont{};
  canvas.Font.Color = !item.Enabled ? MenuGreyText : selected ? clr::White : clr::Black;
  canvas.BrushStyle = TBrushStyle::Clear;
  const int textTop = rect.Top + (rect.Height() - canvas.TextHeight(item.Caption)) / 2;
  canvas.TextOut(rect.Left + PlainItemPadding, textTop, item.Caption);
  if (item.Checked) canvas.TextOut(rect.Left + 4, textTop, "✓");
}

int TPopupMenu::ItemAt(int x, int y) const {
  if (!Area.Contains({x, y})) return -1;
  for (std::size_t i = 0; i < ItemRects.size(); ++i) {
    if (ItemRects[i].Contains({x - Area.Left, y - Area.Top})) {
      return Items[i]->Enabled ? static_cast<int>(i) : -1;
    }
  }
  return -1;
}

void TPopupMenu::SetHighlight(int index) {
  if (index == Highlight) return;
  const int before = Highlight;
  Highlight = index;
  // Only the two items that changed are drawn again and sent.
  for (int i : {before, index}) {
    if (i < 0) continue;
    DrawItem(i);
    Owner.UpdateOverlay(ItemRects[i]);
  }
  if (OnHighlightChanged) OnHighlightChanged(*this, false);
}

// The next enabled item from `from` in direction `step`, wrapping around; -1 when none is.
int TPopupMenu::NextEnabled(int from, int step) const {
  const int n = static_cast<int>(Items.size());
  int i = from < 0 ? (step > 0 ? -1 : n) : from;
  for (int tries = 0; tries < n; ++tries) {
    i = (i + step + n) % n;
    if (Items[i]->Enabled) return i;
  }
  return -1;
}

void TPopupMenu::Popup(int x, int y) {
  if (Current || Items.empty() || !Application || Application->Terminated()) return;
  Layout(x, y);
  Highlight = -1;
  int mx = 0, my = 0;
  SDL_GetMouseState(&mx, &my);
  const TPoint pointer = Owner.ToLogical(mx, my);
  if (SDL_GetMouseFocus() == Owner.Handle()) Highlight = ItemAt(pointer.X, pointer.Y);
  DrawFrame();
  for (std::size_t i = 0; i < Items.size(); ++i) DrawItem(static_cast<int>(i));

  Current = this;
  Owner.SetOverlay(&Picture, {Area.Left, Area.Top});
  if (OnHighlightChanged) OnHighlightChanged(*this, true);
  TMenuItem* chosen = RunLoop();
  Owner.ClearOverlay();
  Current = nullptr;
  if (chosen) chosen->Click();
}

// The pointer and the arrow keys (a controller's D-pad) move the highlight, a click or Return
// (A) chooses, a click elsewhere or Escape (B) closes. Input is the menu's alone; repaints, timer
// ticks, the sound's idle note and a quit go on as usual.
TMenuItem* TPopupMenu::RunLoop() {
  const std::uint32_t owner = Owner.WindowId();
  bool pressedInside = false;
  TMenuItem* chosen = nullptr;
  Application->RunModal([&](const SDL_Event& e) {
    switch (e.type) {
      case SDL_MOUSEMOTION: {
        const TPoint at = Owner.ToLogical(e.motion.x, e.motion.y);
        if (e.motion.windowID == owner) SetHighlight(ItemAt(at.X, at.Y));
        break;
      }
      case SDL_MOUSEBUTTONDOWN: {
        const TPoint at = Owner.ToLogical(e.button.x, e.button.y);
        if (e.button.windowID != owner || !Area.Contains(at)) return TModalAnswer::Close;
        pressedInside = true;
        SetHighlight(ItemAt(at.X, at.Y));
        break;
      }
      case SDL_MOUSEBUTTONUP: {
        // The release of the click that opened the menu chooses nothing.
        if (!pressedInside || e.button.windowID != owner) break;
        pressedInside = false;
        const TPoint at = Owner.ToLogical(e.button.x, e.button.y);
        const int index = ItemAt(at.X, at.Y);
        if (index < 0) break;
        chosen = Items[index];
        return TModalAnswer::Close;
      }
      case SDL_KEYDOWN:
        switch (e.key.keysym.sym) {
          case SDLK_ESCAPE: return TModalAnswer::Close;
          case SDLK_UP: SetHighlight(NextEnabled(Highlight, -1)); break;
          case SDLK_DOWN: SetHighlight(NextEnabled(Highlight, +1)); break;
          case SDLK_HOME: SetHighlight(NextEnabled(-1, +1)); break;  // the first enabled item
          case SDLK_END: SetHighlight(NextEnabled(-1, -1)); break;   // the last one
          case SDLK_RETURN:
          case SDLK_KP_ENTER:
            if (Highlight < 0 || !Items[Highlight]->Enabled) break;
            chosen = Items[Highlight];
            return TModalAnswer::Close;
          default: break;
        }
        break;
      case SDL_CONTROLLERBUTTONDOWN:
        // A game controller: the D-pad moves the highlight, A chooses, B closes.
        switch (PadButtonOf(e)) {
          case TPadButton::B: return TModalAnswer::Close;
          case TPadButton::Up: SetHighlight(NextEnabled(Highlight, -1)); break;
          case TPadButton::Down: SetHighlight(NextEnabled(Highlight, +1)); break;
          case TPadButton::A:
            if (Highlight < 0 || !Items[Highlight]->Enabled) break;
            chosen = Items[Highlight];
            return TModalAnswer::Close;
          default: break;
        }
        break;
      default:
        if (!IsUserInput(e)) return TModalAnswer::Dispatch;
        break;
    }
    return TModalAnswer::Handled;
  });
  return chosen;
}

}  // namespace kravelon
