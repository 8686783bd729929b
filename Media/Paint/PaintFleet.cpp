// The opponent's fleet at the right of the status line, and a shot's cells: the parts of the
// board screen that change when a shot lands, sent without the rest.
#include <algorithm>

#include "Common/Text.h"
#include "GameEngine/FleetView.h"
#include "Media/Layout.h"
#include "Media/Paint/FleetPanel.h"
#include "Media/Paint/Paint.h"

namespace kravelon {

namespace {

constexpr int FleetRightMargin = 8;  // from the panel's right edge
constexpr int FleetSectorGap = 16;   // between the widest sector text and the fleet
constexpr TColor HullLine{16, 24, 36};
constexpr TColor HullFill{200, 208, 214};
constexpr TColor WreckLine{110, 120, 130};
constexpr TColor WreckStrike{236, 96, 60};

void Box(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.BrushStyle = TBrushStyle::Solid;
  canvas.BrushColor = color;
  canvas.FillRect(r);
}

// A ship afloat is a filled hull with a line between its cells; a sunk one only its outline,
// struck through from end to end, so that the two differ by shape as well as by colour.
void DrawFleetShip(TCanvas& canvas, int left, int top, int length, int cell, bool sunk) {
  const TRect hull{left, top, left + length * cell, top + cell};
  if (!sunk) {
    Box(canvas, hull, HullLine);
    Box(canvas, {hull.Left + 1, hull.Top + 1, hull.Right - 1, hull.Bottom - 1}, HullFill);
    for (int i = 1; i < length; ++i) {
      const int x = left + i * cell;
      Box(canvas, {x, hull.Top + 1, x + 1, hull.Bottom - 1}, HullLine);
    }
    return;
  }
  Box(canvas, {hull.Left, hull.Top, hull.Right, hull.Top + 1}, WreckLine);
  Box(canvas, {hull.Left, hull.Bottom - 1, hull.Right, hull.Bottom}, WreckLine);
  Box(canvas, {hull.Left, hull.Top, hull.Left + 1, hull.Bottom}, WreckLine);
  Box(canvas, {hull.Right - 1, hull.Top, hull.Right, hull.Bottom}, WreckLine);
  const int middle = hull.Top + cell / 2;
  Box(canvas, {hull.Left, middle - 1, hull.Right, middle + 1}, WreckStrike);
}

TRect Union(const TRect& a, const TRect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

}  // namespace

TRect TPaint::FleetStrip(TCanvas& panel, const TFleetGroups& groups,
                         TFleetPanelLayout* layout) const {
  const TBitmap* console = GetImage("SYS_CONSOL");
  if (!console) return {};
  const int right = console->Width() - FleetRightMargin;
  const int status = Salvoing() ? SalvoWidth : SectorWidth;
  const int available = right - (StatusTextAt.X + status + FleetSectorGap);
  TFleetPanelLayout laid = LayOutFleetPanel(groups, available, panel.TextWidth(Tr("Противник:")));
  if (laid.Cell == 0) {
    if (layout) *layout = {};
    return {};
  }
  const TRect strip{right - laid.Width, StatusTextAt.Y, right,
                    StatusTextAt.Y + panel.TextHeight(Tr("Противник:"))};
  if (layout) *layout = std::move(laid);
  return strip;
}

TRect TPaint::DrawFleet(TCanvas& panel) {
  const TFleetGroups groups = FleetGroupsOf(Engine, sdComputer);
  TFleetPanelLayout layout;
  const TRect strip = FleetStrip(panel, groups, &layout);
  // The strip it leaves and the one it takes, should the fleet have changed its length.
  const TRect cleared = Union(FleetDrawn, strip);
  if (const TBitmap* background = GetImage("IM_CONSOL"); background && !cleared.Empty()) {
    panel.CopyRect(cleared, *background, cleared);
  }
  ShownFleet = groups;
  FleetBesideSalvo = Salvoing();
  FleetDrawn = strip;
  if (strip.Empty()) return cleared;
  if (layout.Label) {
    panel.BrushStyle = TBrushStyle::Clear;
    panel.TextOut(strip.Left, strip.Top, Tr("Противник:"));
  }
  const int top = strip.Top + (strip.Height() - layout.Cell) / 2;
  for (const TFleetPanelLayout::TShip& ship : layout.Ships) {
    DrawFleetShip(panel, strip.Left + ship.Left, top, ship.Length, layout.Cell, ship.Sunk);
  }
  return cleared;
}

TRect TPaint::FleetRect() const {
  if (FleetDrawn.Empty()) return {};
  return {ConsolePanelPos.X + FleetDrawn.Left, ConsolePanelPos.Y + FleetDrawn.Top,
          ConsolePanelPos.X + FleetDrawn.Right, ConsolePanelPos.Y + FleetDrawn.Bottom};
}

void TPaint::UpdateFleet() {
  if (!GraphicsReady || !ConsoleShown()) return;
  if (FleetGroupsOf(Engine, sdComputer) == ShownFleet && FleetBesideSalvo == Salvoing()) return;
  TBitmap* console = GetImage("SYS_CONSOL");
  const TRect strip = DrawFleet(console->Canvas);
  const TRect onScreen{ConsolePanelPos.X + strip.Left, ConsolePanelPos.Y + strip.Top,
                       ConsolePanelPos.X + strip.Right, ConsolePanelPos.Y + strip.Bottom};
  BackCanvas->CopyRect(onScreen, *console, strip);
  CopyToWindow(onScreen);
}

void TPaint::ShowShot(int board, TPoint cell) {
  if (!GraphicsReady || !BoardsShown()) return;
  const TOneUpdate once(*this);
  const std::vector<TFleetShip> fleet = FleetOf(Engine, board);
  const TFleetShip* ship = ShipAt(fleet, cell);
  // The last segment of a ship turns every one of its cells into the wreck's.
  if (ship && ship->Sunk()) {
    for (const TPoint segment : ship->Cells) RefreshCell(board, segment);
  } else {
    RefreshCell(board, cell);
  }
  UpdateFleet();
}

}  // namespace kravelon
