#pragma once
// The painter: owns every picture by name, builds them at start-up and composes every screen in
// the back buffer before copying it to the window in one piece.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Console/Consol.h"
#include "GameEngine/FleetView.h"
#include "GameEngine/GameEngine.h"
#include "Media/Paint/FleetPanel.h"
#include "Media/Registry.h"
#include "Toolkit/Form.h"
#include "Toolkit/Graphics.h"
#include "Common/Types.h"

namespace kravelon {

inline constexpr int ExplosionFrameCount = 20;

class TPaint {
 public:
  // The window the painter shows its pictures on, the version text for the about picture, the
  // engine whose boards and state it draws and the console it shows and writes its lines to.
  TPaint(TForm& window, std::string version, const TGameEngine& engine, TConsol& consol);
  ~TPaint();
  TPaint(const TPaint&) = delete;
  TPaint& operator=(const TPaint&) = delete;

  // Registry of named pictures. Names are kept upper-case and found regardless of case.
  void AddImage(std::string_view name, std::unique_ptr<TBitmap> picture);
  TBitmap* GetImage(std::string_view name) const;
  std::size_t ImageCount() const { return NamedImages.Size(); }
  const std::string& ImageName(std::size_t index) const { return NamedImages.Name(index); }

  // Loaders: each logs its line and counts once the picture really loaded; a failure raises
  // TFileError with the file's full path and the player's message naming it.
  std::unique_ptr<TBitmap> LoadBitmapImage(const std::string& path);
  std::unique_ptr<TBitmap> LoadJpegImage(const std::string& path);
  // Height first, the opposite of TBitmap(width, height); callers and the log line rely on it.
  std::unique_ptr<TBitmap> CreateImage(int height, int width);
  std::unique_ptr<TBitmap> CreateImage(const TRect& rect);
  void Log(std::string_view text);
  // Pictures read from files and made blank since start-up's counting began.
  int LoadedImageCount() const { return LoadedImages; }
  int CreatedImageCount() const { return CreatedImages; }

  // Loads and composes every picture. A picture that cannot be read, or an about picture that is
  // not whole, raises TFileError naming the file.
  void Initialize();
  // Start-up's steps, in the order Initialize takes them.
  void CutBorderPieces();
  void MakeShipPreviews();
  void BuildExplosion();
  void MakeMask(std::string_view name);
  void BuildReport();
  void DrawPanel(TBitmap& target, const TRect& rect);
  // The report: the panel with no text (the game just won), then the panel shown over the win
  // picture, then the result written on it.
  void ResetReport();
  void ShowReportPanel() { ReportShown = true; }
  bool ReportPanelShown() const { return ReportShown; }
  void DrawReportText();
  // The result the report shows: who won.
  std::string ReportResult() const;
  // Where the report's line that shows the final boards stands on the window (it answers a
  // click); empty until the result is written.
  TRect ReportBoardsLine() const { return BoardsLine; }
  // The boards of the finished game in place of the report, the opponent's ships nobody found
  // drawn revealed; only on the report (a new game ends it).
  void ShowFinalBoards(bool shown) { FinalBoards = shown; }
  bool FinalBoardsShown() const { return FinalBoards && Engine.State() == gsReport; }

  // Screens. Nothing is drawn before start-up has built the pictures and reset the first game;
  // from then on, every redraw shows.
  void MarkGraphicsReady() { GraphicsReady = true; }
  bool IsGraphicsReady() const { return GraphicsReady; }
  // The about screen covers the boards while the game goes on behind it; the window puts it up
  // and takes it down.
  void ShowAbout(bool shown) { AboutUp = shown; }
  bool AboutShown() const { return AboutUp; }
  void Redraw();
  // Composes the current screen in SYS_BACK without showing it.
  void Compose();
  // The boards as the rules hold them, each in its place on the back buffer.
  void DrawUserBoard();
  void DrawComputerBoard();
  // Draws the console panel into the back buffer; false on screens that show none.
  bool DrawConsole();
  void DrawBorder();
  // Shows the console with `line` as its newest line (clamped to the last), or `lines` further on.
  void ScrollConsole(int line);
  void ScrollConsoleBy(int lines) { ScrollConsole(ConsoleEnd + lines); }
  int ConsoleEndLine() const { return ConsoleEnd; }
  void SetStatusText(const std::string& text);
  const std::string& Status() const { return StatusText; }
  // The opponent's fleet at the right of the status line, as it stands now: drawn with the
  // console, and sent alone (its strip only) when a ship sinks.
  void UpdateFleet();
  const TFleetGroups& FleetShown() const { return ShownFleet; }
  // Where the fleet's strip stands on the window; empty before start-up.
  TRect FleetRect() const;
  // A shot has landed on a cell of a board (0 the user's, 1 the computer's): that cell, or every
  // cell of the ship it sank, and the fleet strip go to the window in one update.
  void ShowShot(int board, TPoint cell);
  // The user's board with the next ship's preview from `cell` on: faded into the water where it
  // fits, marked as hit where it does not; the segments past the board's edge are left out.
  void ShowPreview(TPoint cell, int length, bool horizontal, bool fits);
  // The target cell the keys drive, framed on its board (0 the user's, 1 the computer's) and sent
  // with the cell it left; HideTarget takes the frame away once the mouse takes over.
  void ShowTarget(int board, TPoint cell);
  void HideTarget();
  // The explosion over a cell of a board (0 the user's, 1 the computer's), frame by frame.
  void Explode(int board, TPoint cell);
  // Sends the whole back buffer to the window, or only the part that changed.
  void CopyToWindow();
  void CopyToWindow(const TRect& changed);
  // While one lives, what the painter sends is held back and goes to the window in one update
  // as the last one goes: a step of the target changes a cell or two, the preview and the
  // status line at once, and the screen hears of it once.
  class TOneUpdate {
   public:
    explicit TOneUpdate(TPaint& paint) : Paint(paint) { ++Paint.HeldBack; }
    ~TOneUpdate();
    TOneUpdate(const TOneUpdate&) = delete;
    TOneUpdate& operator=(const TOneUpdate&) = delete;

   private:
    TPaint& Paint;
  };
  // The first `count` explosion frames with their top-left corner at (x, y).
  void PlayAnimation(int x, int y, int count);
  const TBitmap* ExplosionFrame(int n) const { return ExplosionFrames[static_cast<std::size_t>(n)]; }
  // The menus' and the report's font.
  const TFont& MenuFont() const { return BigFont; }

  // The console panel's line step and how many lines fit (16 and 5 at 96 dpi).
  int ConsoleLineStep() const;
  int ConsoleVisibleLines() const;
  // Where the console panel lies on the screen.
  TRect ConsoleRect() const;

 private:
  void DrawBoard(int board);
  bool ConsoleShown() const;
  bool BoardsShown() const;
  void ComposeBoards();
  // What a board's cells are drawn with: the pictures, which cells belong to a sunk ship and
  // whether its intact segments show (the user's own, or the opponent's on the final boards).
  struct TBoardLook {
    const TBitmap* Water;
    const TBitmap* Miss;
    const TBitmap* Ship;
    const TBitmap* Hit;
    const TBitmap* Sunk;
    const TBitmap* Intact;  // an intact segment: the ship, water or the revealed picture
    std::array<std::array<bool, BoardSize>, BoardSize> SunkCells;
  };
  TBoardLook BoardLook(int board) const;
  void DrawCell(int board, TPoint cell, const TBoardLook& look);
  void RefreshCell(int board, TPoint cell);
  void DrawTargetFrame(int board);
  // Redraws only the status line's strip of the panel and the back buffer; the screen
  // rectangle it changed, empty when the console is not shown.
  TRect DrawStatusLine();
  void DrawStatusText(TCanvas& canvas);
  // The fleet's strip drawn on the console panel; its rectangle there.
  TRect DrawFleet(TCanvas& panel);
  // Where the fleet's strip stands on the console panel, laid out for the fleet as it is now.
  TRect FleetStrip(TCanvas& panel, const TFleetGroups& groups, TFleetPanelLayout* layout) const;
  // A game of salvos, whose status line counts the shots left.
  bool Salvoing() const { return Engine.Rules().Salvo; }
  int StatusRight = 0;  // where the status text drawn last ends on the panel
  int SectorWidth = 0;  // the widest "Сектор: …" the status line can show, kept clear of the fleet
  int SalvoWidth = 0;   // the same with a salvo's shots left beside it
  bool FleetBesideSalvo = false;  // the fleet shown was laid out clear of a salvo's count
  TFleetGroups ShownFleet{};
  TRect FleetDrawn{};  // the fleet's strip on the console panel as drawn last
  bool FinalBoards = false;
  TRect BoardsLine{};
  int HeldBack = 0;     // TOneUpdate objects alive
  std::vector<TRect> Unsent;  // what they hold back
  bool WholeUnsent = false;
  int ConsoleEnd = 0;   // the console's newest line shown
  std::string StatusText;
  TCanvas* BackCanvas = nullptr;  // SYS_BACK's, once start-up has made it
  bool GraphicsReady = false;
  bool ReportShown = false;
  bool AboutUp = false;
  struct TTarget {
    int Board;
    TPoint Cell;
  };
  std::optional<TTarget> Target;
  std::array<TBitmap*, ExplosionFrameCount> ExplosionFrames{};
  TRect ScreenRect{};
  TFont BigFont{"IMPACT", 36, TColor{0, 255, 255}, TFontStyle::Regular};
  int LoadedImages = 0;
  int CreatedImages = 0;

  TForm& Window;
  std::string Version;
  const TGameEngine& Engine;
  TConsol& Consol;
  TRegistry<TBitmap> NamedImages;  // names upper-cased
};

// The status line's text: "Сектор: Д5", and in a salvo the shots left of it beside the sector.
std::string StatusLine(const std::string& sector, const std::string& salvo);

// The about picture's byte sum that proves it whole.
inline constexpr std::uint64_t AboutByteSum = 25902023;
inline constexpr TRect ReportPanelRect{64, 296, 632, 424};

}  // namespace kravelon
