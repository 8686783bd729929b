#pragma once
// Popup menus drawn by the toolkit as an overlay on their window, with a nested modal loop:
// Popup returns once the menu has closed, and the chosen item's OnClick runs after that, so a
// handler may open another menu.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Toolkit/Graphics.h"
#include "Common/Types.h"

namespace kravelon {

class TForm;

class TMenuItem {
 public:
  explicit TMenuItem(std::string caption = {}) : Caption(std::move(caption)) {}

  std::string Caption;
  bool Enabled = true;
  bool Checked = false;
  bool AutoCheck = false;  // choosing the item toggles Checked before OnClick
  int Tag = 0;
  std::function<void(TMenuItem& sender)> OnClick;
  // Owner drawing: the size of the item, and the item drawn into its rectangle of the menu.
  std::function<void(TMenuItem& sender, TCanvas& canvas, int& width, int& height)> OnMeasureItem;
  std::function<void(TMenuItem& sender, TCanvas& canvas, const TRect& rect, bool selected)>
      OnDrawItem;

  // What choosing the item does: the tick first, then the handler.
  void Click();
};

enum class TPopupAlignment { Left, Center, Right };

class TPopupMenu {
 public:
  // The menu shows over `owner`; its items are owned by whoever declares them.
  explicit TPopupMenu(TForm& owner);
  ~TPopupMenu();
  TPopupMenu(const TPopupMenu&) = delete;
  TPopupMenu& operator=(const TPopupMenu&) = delete;

  // Captions are drawn letter for letter: this toolkit adds no accelerator marks, and a menu
  // never opens by itself (only Popup opens it).
  std::vector<TMenuItem*> Items;
  TPopupAlignment Alignment = TPopupAlignment::Left;
  bool OwnerDraw = false;  // items measured and drawn by their OnMeasureItem / OnDrawItem
  // Told once as the menu opens (`opened`), then each time the highlight moves: what a player
  // who cannot see the menu needs to hear. Highlighted() is the item, -1 for none.
  std::function<void(const TPopupMenu& menu, bool opened)> OnHighlightChanged;

  // Opens the menu with its anchor at (x, y) in screen coordinates: the top-left corner, the
  // middle of the top edge or the top-right corner by Alignment. Returns when it has closed;
  // then runs the chosen item's Click. Does nothing while another menu is open.
  void Popup(int x, int y);

  // The frame drawn around the items, in pixels.
  static constexpr int FrameWidth = 3;

  // Where the menu stands on its owner while open (window coordinates), and the item under the
  // highlight (-1 for none). For tests and for drawing.
  TRect Bounds() const { return Area; }
  int Highlighted() const { return Highlight; }
  static TPopupMenu* OpenMenu();

 private:
  TMenuItem* RunLoop();
  void Layout(int x, int y);
  void DrawItem(int index);
  void DrawFrame();
  int ItemAt(int x, int y) const;
  void SetHighlight(int index);
  int NextEnabled(int from, int step) const;

  TForm& Owner;
  TBitmap Picture;          // the whole menu, frame included
  std::vector<TRect> ItemRects;  // in Picture's coordinates
  TRect Area;               // Picture's place on the owner
  int Highlight = -1;
};

}  // namespace kravelon
