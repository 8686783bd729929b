// Composing the screens in the back buffer and showing them.
#include <algorithm>
#include <utility>

#include "Console/Consol.h"
#include "GameEngine/GameEngine.h"
#include "Media/Layout.h"
#include "Media/Paint/Paint.h"

namespace kravelon {

namespace {

constexpr int ConsoleTextLeft = StatusTextAt.X;
constexpr int ConsoleTextTop = 32;
constexpr int StatusTop = StatusTextAt.Y;
constexpr int ConsoleTextArea = 85;  // pixels of the panel that hold log lines
constexpr int TitleTop = 4;

}  // namespace

int TPaint::ConsoleLineStep() const {
  const TBitmap* panel = GetImage("SYS_CONSOL");
  const int size = panel ? panel->Canvas.Font.Size : 10;
  return PointsToPixels(size) + 3;
}

int TPaint::ConsoleVisibleLines() const { return ConsoleTextArea / ConsoleLineStep(); }

void TPaint::CopyToWindow() {
  if (HeldBack > 0) {
    WholeUnsent = true;
    return;
  }
  if (const TBitmap* back = GetImage("SYS_BACK")) Window.Present(*back);
}

void TPaint::CopyToWindow(const TRect& changed) {
  if (changed.Width() <= 0 || changed.Height() <= 0) return;
  if (HeldBack > 0) {
    Unsent.push_back(changed);
    return;
  }
  if (const TBitmap* back = GetImage("SYS_BACK")) Window.PresentRects(*back, &changed, 1);
}

TPaint::TOneUpdate::~TOneUpdate() {
  if (--Paint.HeldBack > 0) return;
  std::vector<TRect> parts = std::move(Paint.Unsent);
  Paint.Unsent.clear();
  const bool whole = std::exchange(Paint.WholeUnsent, false);
  if (whole) {
    Paint.CopyToWindow();
    return;
  }
  // A part inside another (a cell inside the board the preview sent) goes once.
  std::vector<TRect> sent;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    bool inside = false;
    for (std::size_t j = 0; j < parts.size() && !inside; ++j) {
      const bool covers = parts[j].Intersect(parts[i]) == parts[i];
      inside = j != i && covers && (parts[j] != parts[i] || j < i);
    }
    if (!inside) sent.push_back(parts[i]);
  }
  if (sent.empty()) return;
  if (const TBitmap* back = Paint.GetImage("SYS_BACK"))
    Paint.Window.PresentRects(*back, sent.data(), static_cast<int>(sent.size()));
}

TRect TPaint::ConsoleRect() const {
  const TBitmap* panel = GetImage("SYS_CONSOL");
  if (!panel) return {};
  return {ConsolePanelPos.X, ConsolePanelPos.Y, ConsolePanelPos.X + panel->Width(),
          ConsolePanelPos.Y + panel->Height()};
}

bool TPaint::ConsoleShown() const {
  return BackCanvas && !AboutUp && (Engine.State() != gsReport || FinalBoardsShown()) &&
         GetImage("SYS_CONSOL");
}

bool TPaint::BoardsShown() const {
  return BackCanvas && !AboutUp &&
         (Engine.State() == gsPlacing || Engine.State() == gsBattle || FinalBoardsShown());
}

void TPaint::Compose() {
  if (!BackCanvas) return;
  if (AboutUp) {
    BackCanvas->Draw(0, 0, GetImage("IM_ABOUT"));
    return;
  }
  switch (Engine.State()) {
    case gsPlacing:
    case gsBattle:
      ComposeBoards();
      break;
    case gsReport:
      if (FinalBoards) {
        ComposeBoards();
        break;
      }
      BackCanvas->Draw(0, 4, GetImage(ReportShown ? "IM_REPORT_TEXT" : "IM_WIN"));
      BackCanvas->Draw(0, TitleTop, GetImage("IM_TITLE"));
      DrawBorder();
      break;
    default:
      break;
  }
}

void TPaint::ComposeBoards() {
  // The title strip, both boards and the console panel are opaque and drawn next: the
  // background shows only around them.
  const TBitmap* title = GetImage("IM_TITLE");
  const TRect covered[] = {
      {0, TitleTop, title ? title->Width() : 0, TitleTop + (title ? title->Height() : 0)},
      UserBoardRect, ComputerBoardRect, ConsoleRect()};
  BackCanvas->DrawAround(GetImage("IM_BACKROUND"), covered, 4);
  BackCanvas->Draw(0, TitleTop, title);
  DrawUserBoard();
  DrawComputerBoard();
  DrawConsole();
  DrawBorder();
}

void TPaint::Redraw() {
  if (!GraphicsReady) return;
  Compose();
  CopyToWindow();
}

TPaint::TBoardLook TPaint::BoardLook(int board) const {
  TBoardLook look{GetImage("IM_EMPTY"), GetImage("IM_MISS"),  GetImage("IM_SHIP"),
                  GetImage("IM_SHIPOFF"), GetImage("IM_SUNK"), nullptr, {}};
  // The opponent's ships stay hidden until hit, and until the final boards show where the
  // ones nobody found were.
  look.Intact = board == 0 ? look.Ship : FinalBoardsShown() ? GetImage("IM_REVEALED") : look.Water;
  for (const TFleetShip& ship : FleetOf(Engine, board)) {
    if (!ship.Sunk()) continue;
    for (const TPoint cell : ship.Cells) {
      look.SunkCells[static_cast<std::size_t>(cell.X)][static_cast<std::size_t>(cell.Y)] = true;
    }
  }
  return look;
}

void TPaint::DrawCell(int board, TPoint cell, const TBoardLook& look) {
  const TCell c = Engine.ReadCell(cell.X, cell.Y, board);
  const bool sunk = look.SunkCells[static_cast<std::size_t>(cell.X)][static_cast<std::size_t>(cell.Y)];
  const TBitmap* picture = c.Empty ? (c.Fired ? look.Miss : look.Water)
                                   : (c.Fired ? (sunk ? look.Sunk : look.Hit) : look.Intact);
  const TRect at = CellRect(board, cell);
  BackCanvas->Draw(at.Left, at.Top, picture);
}

void TPaint::DrawBoard(int board) {
  if (!BackCanvas) return;
  // One look-up per picture, and one count of the sunk ships, for the whole board.
  const TBoardLook look = BoardLook(board);
  for (int column = 0; column < BoardSize; ++column) {
    for (int row = 0; row < BoardSize; ++row) DrawCell(board, {column, row}, look);
  }
  DrawTargetFrame(board);
}

// Draws a cell again, with the frame if the target is on it, and sends it.
void TPaint::RefreshCell(int board, TPoint cell) {
  DrawCell(board, cell, BoardLook(board));
  DrawTargetFrame(board);
  CopyToWindow(CellRect(board, cell));
}

// Yellow outside, black inside, both within the cell: it shows on water, ships, misses and
// hits alike, and a cell's own rectangle is all an update of it needs to send.
void TPaint::DrawTargetFrame(int board) {
  if (!Target || Target->Board != board || !BackCanvas) return;
  const TRect at = CellRect(board, Target->Cell);
  auto ring = [&](int inset, int width, TColor color) {
    const TRect r{at.Left + inset, at.Top + inset, at.Right - inset, at.Bottom - inset};
    BackCanvas->BrushStyle = TBrushStyle::Solid;
    BackCanvas->BrushColor = color;
    BackCanvas->FillRect({r.Left, r.Top, r.Right, r.Top + width});
    BackCanvas->FillRect({r.Left, r.Bottom - width, r.Right, r.Bottom});
    BackCanvas->FillRect({r.Left, r.Top, r.Left + width, r.Bottom});
    BackCanvas->FillRect({r.Right - width, r.Top, r.Right, r.Bottom});
  };
  ring(0, 2, clr::Yellow);
  ring(2, 1, clr::Black);
}

void TPaint::ShowTarget(int board, TPoint cell) {
  const std::optional<TTarget> before = Target;
  Target = TTarget{board, cell};
  if (!GraphicsReady || !BoardsShown()) return;
  // Only the cell it left and the cell it reached change.
  if (before) RefreshCell(before->Board, before->Cell);
  RefreshCell(board, cell);
}

void TPaint::HideTarget() {
  if (!Target) return;
  const TTarget before = *Target;
  Target.reset();
  if (!GraphicsReady || !BoardsShown()) return;
  RefreshCell(before.Board, before.Cell);
}

void TPaint::DrawUserBoard() { DrawBoard(0); }

void TPaint::DrawComputerBoard() { DrawBoard(1); }

bool TPaint::DrawConsole() {
  if (!ConsoleShown()) return false;
  TBitmap* panel = GetImage("SYS_CONSOL");
  TCanvas& canvas = panel->Canvas;
  canvas.BrushStyle = TBrushStyle::Clear;
  canvas.Draw(0, 0, GetImage("IM_CONSOL"));
  const int count = Consol.Count();
  const int step = ConsoleLineStep();
  const int visible = ConsoleVisibleLines();
  if (count < visible) {
    for (int i = 0; i < count; ++i) {
      canvas.TextOut(ConsoleTextLeft, ConsoleTextTop + i * step, Consol.Line(i));
    }
  } else {
    if (ConsoleEnd < visible) ConsoleEnd = visible;
    for (int k = 0; k < visible; ++k) {
      canvas.TextOut(ConsoleTextLeft, ConsoleTextTop + k * step,
                     Consol.Line(ConsoleEnd - visible + k));
    }
  }
  DrawStatusText(canvas);
  DrawFleet(canvas);
  BackCanvas->Draw(ConsolePanelPos.X, ConsolePanelPos.Y, panel);
  return true;
}

// The status line lies above the first log line, so its strip is the panel's own background
// and the text: nothing else of the panel needs drawing again when only the status changes, and
// only as far right as the longer of the old and the new text.
TRect TPaint::DrawStatusLine() {
  if (!ConsoleShown()) return {};
  TBitmap* panel = GetImage("SYS_CONSOL");
  const TBitmap* background = GetImage("IM_CONSOL");
  TCanvas& canvas = panel->Canvas;
  canvas.BrushStyle = TBrushStyle::Clear;
  const int right = std::min(panel->Width(),
                             std::max(StatusRight, ConsoleTextLeft + canvas.TextWidth(StatusText)));
  TRect strip{ConsoleTextLeft, StatusTop, right, StatusTop + canvas.TextHeight(StatusText)};
  if (background) canvas.CopyRect(strip, *background, strip);
  DrawStatusText(canvas);
  // A text longer than any sector's reaches the fleet: the fleet is drawn over it again, as a
  // full redraw draws it after the text.
  if (!strip.Intersect(FleetDrawn).Empty()) {
    const TRect fleet = DrawFleet(canvas);
    strip = {std::min(strip.Left, fleet.Left), std::min(strip.Top, fleet.Top),
             std::max(strip.Right, fleet.Right), std::max(strip.Bottom, fleet.Bottom)};
  }
  const TRect onScreen{ConsolePanelPos.X + strip.Left, ConsolePanelPos.Y + strip.Top,
                       ConsolePanelPos.X + strip.Right, ConsolePanelPos.Y + strip.Bottom};
  BackCanvas->CopyRect(onScreen, *panel, strip);
  return onScreen;
}

void TPaint::DrawStatusText(TCanvas& canvas) {
  canvas.TextOut(ConsoleTextLeft, StatusTop, StatusText);
  StatusRight = ConsoleTextLeft + canvas.TextWidth(StatusText);
}

void TPaint::DrawBorder() {
  if (!BackCanvas) return;
  const int w = Window.ClientWidth(), h = Window.ClientHeight();
  const int rows = (h - 32) / 32, columns = (w - 32) / 32;
  const TBitmap* left = GetImage("IM_BORDER_LEFT");
  const TBitmap* right = GetImage("IM_BORDER_RIGHT");
  const TBitmap* top = GetImage("IM_BORDER_TOP");
  const TBitmap* bottom = GetImage("IM_BORDER_BOTTOM");
  for (int i = 0; i < rows; ++i) {
    BackCanvas->Draw(0, 32 + 32 * i, left);
    BackCanvas->Draw(w - 32, 32 + 32 * i, right);
  }
  for (int i = 0; i < columns; ++i) {
    BackCanvas->Draw(32 + 32 * i, 0, top);
    BackCanvas->Draw(32 + 32 * i, h - 32, bottom);
  }
  BackCanvas->Draw(0, 0, GetImage("IM_BORDER_TOP_LEFT"));
  BackCanvas->Draw(w - 32, 0, GetImage("IM_BORDER_TOP_RIGHT"));
  BackCanvas->Draw(0, h - 32, GetImage("IM_BORDER_BOTTOM_LEFT"));
  BackCanvas->Draw(w - 32, h - 32, GetImage("IM_BORDER_BOTTOM_RIGHT"));
}

void TPaint::ScrollConsole(int line) {
  if (line == ConsoleEnd || line < 0) return;
  const int count = Consol.Count();
  ConsoleEnd = line > count ? count : line;
  if (GraphicsReady && DrawConsole()) CopyToWindow(ConsoleRect());
}

void TPaint::ShowPreview(TPoint cell, int length, bool horizontal, bool fits) {
  const TBitmap* preview = GetImage(fits ? "IM_SHIP_TEST_ON" : "IM_SHIP_TEST_OFF");
  DrawUserBoard();
  for (int i = 0; i < length; ++i) {
    const TRect segment =
        CellRect(0, {cell.X + (horizontal ? i : 0), cell.Y + (horizontal ? 0 : i)});
    // Segments past the board's edge are not drawn.
    if (UserBoardRect.StrictlyContains(segment.Left + 2, segment.Top + 2) && BackCanvas) {
      BackCanvas->Draw(segment.Left, segment.Top, preview);
    }
  }
  DrawTargetFrame(0);
  CopyToWindow(UserBoardRect);
}

void TPaint::SetStatusText(const std::string& text) {
  // The pointer moving within one sector: the screen shows this text already.
  if (text == StatusText) return;
  StatusText = text;
  CopyToWindow(DrawStatusLine());
}

}  // namespace kravelon
