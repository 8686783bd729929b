// The report window's pictures, the translucent panel and the result text.
#include "Common/Text.h"
#include "GameEngine/GameEngine.h"
#include "Media/Paint/Paint.h"

namespace kravelon {

namespace {

struct TPanelPiece {
  const char* Name;
  int Column, Row;  // cell of the 3 × 3 sheet
};

constexpr TPanelPiece PanelPieces[] = {
    {"IM_REPORT_TOP_LEFT", 0, 0},     {"IM_REPORT_TOP", 1, 0},    {"IM_REPORT_TOP_RIGHT", 2, 0},
    {"IM_REPORT_RIGHT", 2, 1},        {"IM_REPORT_BOTTOM_RIGHT", 2, 2},
    {"IM_REPORT_BOTTOM", 1, 2},       {"IM_REPORT_BOTTOM_LEFT", 0, 2},
    {"IM_REPORT_LEFT", 0, 1},         {"IM_REPORT_CENTER", 1, 1},
};

constexpr int Piece = 16;
constexpr int BoardsLineBottom = 8;  // the report's last line, above the panel's bottom edge
constexpr int ResultRaise = 10;

}  // namespace

void TPaint::BuildReport() {
  Log(Tr("Инициализация выиграшного окна..."));
  AddImage("IM_REPORT", LoadBitmapImage("Images/Report.bmp"));
  AddImage("IM_REPORT_BACK", CreateImage(ScreenRect));
  GetImage("IM_REPORT_BACK")->Canvas.Draw(0, 0, GetImage("IM_WIN"));
  const TBitmap* sheet = GetImage("IM_REPORT");
  for (const TPanelPiece& p : PanelPieces) {
    AddImage(p.Name, CreateImage(Piece, Piece));
    GetImage(p.Name)->Canvas.Draw(-Piece * p.Column, -Piece * p.Row, sheet);
  }
  DrawPanel(*GetImage("IM_REPORT_BACK"), ReportPanelRect);
  AddImage("IM_REPORT_TEXT", CreateImage(ScreenRect));
  Log(Tr("Инициализация завершена."));
}

void TPaint::DrawPanel(TBitmap& target, const TRect& rect) {
  const int w = rect.Width(), h = rect.Height();
  if (w <= 0 || h <= 0) return;
  const int rows = h / Piece, columns = w / Piece;
  TBitmap work(w, h);
  work.Canvas.CopyRect({0, 0, w, h}, target, rect);
  TBitmap underlay;
  underlay.Assign(work);

  TCanvas& c = work.Canvas;
  const TBitmap* centre = GetImage("IM_REPORT_CENTER");
  for (int r = 0; r < rows; ++r)
    for (int col = 0; col < columns; ++col) c.Draw(Piece * col, Piece * r, centre);
  for (int i = 0; i < rows; ++i) {
    c.Draw(0, Piece * i, GetImage("IM_REPORT_LEFT"));
    c.Draw(w - Piece, Piece * i, GetImage("IM_REPORT_RIGHT"));
  }
  for (int i = 0; i < columns - 1; ++i) {
    c.Draw(Piece + Piece * i, 0, GetImage("IM_REPORT_TOP"));
    c.Draw(Piece + Piece * i, h - Piece, GetImage("IM_REPORT_BOTTOM"));
  }
  c.Draw(0, 0, GetImage("IM_REPORT_TOP_LEFT"));
  c.Draw(w - Piece, 0, GetImage("IM_REPORT_TOP_RIGHT"));
  c.Draw(0, h - Piece, GetImage("IM_REPORT_BOTTOM_LEFT"));
  c.Draw(w - Piece, h - Piece, GetImage("IM_REPORT_BOTTOM_RIGHT"));

  // The panel at half strength over what lies beneath: each channel's mean, rounded down.
  work.AverageWith(underlay, w, h);
  target.Canvas.Draw(rect.Left, rect.Top, &work);
}

void TPaint::ResetReport() {
  TBitmap* report = GetImage("IM_REPORT_TEXT");
  const TBitmap* blank = GetImage("IM_REPORT_BACK");
  if (report && blank) report->Assign(*blank);
  ReportShown = false;
  FinalBoards = false;
  BoardsLine = {};
}

std::string TPaint::ReportResult() const {
  const bool lost = Engine.ActiveSide() == sdComputer;
  return lost ? Tr("Вы проиграли...") : Tr("Вы выиграли!");
}

void TPaint::DrawReportText() {
  TBitmap* report = GetImage("IM_REPORT_TEXT");
  if (!report) return;
  TCanvas& c = report->Canvas;
  c.Font = BigFont;
  c.Font.Color = clr::Yellow;
  c.Font.Size = 60;
  const std::string text = ReportResult();
  const int w = c.TextWidth(text), h = c.TextHeight(text);
  c.BrushStyle = TBrushStyle::Clear;
  // A little above the panel's middle, to leave room for the line below.
  c.TextOut((ScreenRect.Right - ScreenRect.Left - w) / 2,
            (128 - h) / 2 + ScreenRect.Bottom - 192 - ResultRaise, text);
  // Below the result, the way to the final boards: a line of its own that a click also takes.
  c.Font = TFont{"Arial", 11, clr::Aqua, TFontStyle::Bold};
  const std::string line = Tr("Tab — показать поля");
  const int lineWidth = c.TextWidth(line), lineHeight = c.TextHeight(line);
  const int left = (ScreenRect.Right - ScreenRect.Left - lineWidth) / 2;
  const int top = ReportPanelRect.Bottom - BoardsLineBottom - lineHeight;
  c.TextOut(left, top, line);
  BoardsLine = {left, top, left + lineWidth, top + lineHeight};
}

}  // namespace kravelon
