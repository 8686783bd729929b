#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Media/Layout.h"
#include "Platform/Errors.h"
#include "Toolkit/Pause.h"
#include "tests/unit/media/PaintFixture.h"
#include "tests/unit/rules/RulesTestSupport.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace fs = std::filesystem;

namespace {

constexpr TColor Sea{20, 60, 140};
constexpr TColor Grey{100, 100, 100};

TColor Half(TColor c) { return {static_cast<std::uint8_t>(c.R / 2), static_cast<std::uint8_t>(c.G / 2),
                                static_cast<std::uint8_t>(c.B / 2)}; }

// ---- Registry and loaders -------------------------------------------------------------------

TEST_F(PaintFixture, DrawingAnUnknownNameChangesNothing) {
  TBitmap target(8, 8);
  target.Canvas.BrushColor = Grey;
  target.Canvas.FillRect({0, 0, 8, 8});
  target.Canvas.Draw(0, 0, Painter->GetImage("IM_NOTHING"));
  EXPECT_EQ(target.Canvas.Pixel(3, 3), Grey);
}

// Finding a name whatever its case is the registry's (RegistryTest); the painter's own part is
// that it keeps every name upper-cased, as the start-up log and the pictures' list show them.
TEST_F(PaintFixture, NamesAreKeptUpperCasedAndRegisteringAgainReplacesInPlace) {
  Painter->AddImage("im_a", SolidPicture(2, 2, Sea));
  Painter->AddImage("IM_B", SolidPicture(2, 2, Sea));
  Painter->AddImage("Im_A", SolidPicture(3, 3, Grey));
  ASSERT_EQ(Painter->ImageCount(), 2u);
  EXPECT_EQ(Painter->ImageName(0), "IM_A");
  EXPECT_EQ(Painter->GetImage("IM_A")->Width(), 3);
}

TEST_F(PaintFixture, LoadingAJpegLogsOneLineAndCountsIt) {
  WriteJpeg(Folder + "Images/Tile.jpg", 32, 32, [](int, int) { return Sea; });
  auto picture = Painter->LoadJpegImage("Images/Tile.jpg");
  EXPECT_EQ(picture->Width(), 32);
  EXPECT_EQ(picture->Height(), 32);
  EXPECT_EQ(Painter->LoadedImageCount(), 1);
  EXPECT_EQ(Console->AllLines(),
            (std::vector<std::string>{"Paint: Загружено изображение формата JPEG: Images/Tile.jpg"}));
  EXPECT_EQ(Painter->ConsoleEndLine(), 1);
}

TEST_F(PaintFixture, CreatingAPictureLogsWidthByHeight) {
  auto picture = Painter->CreateImage(128, 688);
  EXPECT_EQ(picture->Width(), 688);
  EXPECT_EQ(picture->Height(), 128);
  EXPECT_EQ(Painter->CreatedImageCount(), 1);
  EXPECT_EQ(Console->AllLines(),
            (std::vector<std::string>{"Paint: Создано изображение размером 688x128"}));
}

TEST_F(PaintFixture, UnreadablePicturesRaiseAnErrorNamingTheFullPath) {
  WriteJpeg(Folder + "Images/Whole.jpg", 64, 64, [](int x, int y) {
    return TColor{static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 4), 0};
  });
  // A file cut in half decodes with only a warning; it must still count as broken.
  {
    std::ifstream in(Folder + "Images/Whole.jpg", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(Folder + "Images/Cut.jpg", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  }
  std::ofstream(Folder + "Images/Junk.bmp") << "not a bitmap";
  struct TCase {
    const char* Path;
    bool Jpeg;
  };
  for (const TCase& c : {TCase{"Images/Cut.jpg", true}, TCase{"Images/Missing.jpg", true},
                         TCase{"Images/Junk.bmp", false}, TCase{"Images/Missing.bmp", false}}) {
    try {
      if (c.Jpeg) {
        Painter->LoadJpegImage(c.Path);
      } else {
        Painter->LoadBitmapImage(c.Path);
      }
      ADD_FAILURE() << c.Path << " loaded";
    } catch (const TToolkitError& e) {
      EXPECT_NE(std::string(e.what()).find("\"" + Folder + c.Path + "\""), std::string::npos)
          << e.what();
    }
  }
  EXPECT_EQ(Painter->LoadedImageCount(), 0);
  EXPECT_TRUE(Console->AllLines().empty());
}

// ---- Composition on small fixtures ---------------------------------------------------------

TEST_F(PaintFixture, AllowedPreviewIsTheFlooredMeanOfShipAndWater) {
  auto ship = std::make_unique<TBitmap>(32, 32);
  auto water = std::make_unique<TBitmap>(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      ship->Canvas.SetPixel(x, y, {static_cast<std::uint8_t>(x * 8 + 1), 255, static_cast<std::uint8_t>(y)});
      water->Canvas.SetPixel(x, y, {static_cast<std::uint8_t>(y * 8), 0, static_cast<std::uint8_t>(x + 2)});
    }
  const TBitmap* shipView = ship.get();
  const TBitmap* waterView = water.get();
  Painter->AddImage("IM_SHIP", std::move(ship));
  Painter->AddImage("IM_EMPTY", std::move(water));
  Painter->AddImage("IM_SHIPOFF", SolidPicture(32, 32, Grey));
  Painter->MakeShipPreviews();
  const TBitmap* on = Painter->GetImage("IM_SHIP_TEST_ON");
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const TColor a = shipView->Canvas.Pixel(x, y), b = waterView->Canvas.Pixel(x, y);
      const TColor mean{static_cast<std::uint8_t>((a.R + b.R) / 2),
                        static_cast<std::uint8_t>((a.G + b.G) / 2),
                        static_cast<std::uint8_t>((a.B + b.B) / 2)};
      ASSERT_EQ(on->Canvas.Pixel(x, y), mean) << x << "," << y;
    }
  EXPECT_EQ(Painter->GetImage("IM_SHIP_TEST_OFF")->Canvas.Pixel(5, 5), Grey);
}

TEST_F(PaintFixture, BorderPiecesLetTheScreenShowThroughTheirMagenta) {
  // A sheet whose top band is opaque only in its outer 4 rows.
  auto sheet = std::make_unique<TBitmap>(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) sheet->Canvas.SetPixel(x, y, y < 4 ? Grey : clr::Magenta);
  Painter->AddImage("IM_BORDER", std::move(sheet));
  for (const char* name : {"IM_BORDER_TOP_LEFT", "IM_BORDER_TOP_RIGHT", "IM_BORDER_BOTTOM_LEFT",
                           "IM_BORDER_BOTTOM_RIGHT", "IM_BORDER_LEFT", "IM_BORDER_RIGHT",
                           "IM_BORDER_TOP", "IM_BORDER_BOTTOM"}) {
    Painter->AddImage(name, std::make_unique<TBitmap>(32, 32));
  }
  Painter->CutBorderPieces();
  auto screen = SolidPicture(32, 32, Sea);
  screen->Canvas.Draw(0, 0, Painter->GetImage("IM_BORDER_TOP"));
  EXPECT_EQ(screen->Canvas.Pixel(10, 2), Grey);
  EXPECT_EQ(screen->Canvas.Pixel(10, 4), Sea);
  EXPECT_EQ(screen->Canvas.Pixel(31, 31), Sea);
}

class PanelFixture : public PaintFixture {
 protected:
  void SetUp() override {
    PaintFixture::SetUp();
    for (const auto& [name, colour] : Pieces) Painter->AddImage(name, SolidPicture(16, 16, colour));
  }
  const std::vector<std::pair<std::string, TColor>> Pieces{
      {"IM_REPORT_TOP_LEFT", {200, 0, 0}},   {"IM_REPORT_TOP", {0, 200, 0}},
      {"IM_REPORT_TOP_RIGHT", {0, 0, 200}},  {"IM_REPORT_RIGHT", {200, 200, 0}},
      {"IM_REPORT_BOTTOM_RIGHT", {0, 200, 200}}, {"IM_REPORT_BOTTOM", {200, 0, 200}},
      {"IM_REPORT_BOTTOM_LEFT", {100, 50, 0}}, {"IM_REPORT_LEFT", {0, 50, 100}},
      {"IM_REPORT_CENTER", {90, 90, 90}}};
  TColor PieceColour(const std::string& name) const {
    for (const auto& [n, c] : Pieces)
      if (n == name) return c;
    return {};
  }
};

TEST_F(PanelFixture, EdgesSitFlushEvenWhenTheSidesAreNotMultiplesOf16) {
  auto target = SolidPicture(100, 100, clr::Black);
  Painter->DrawPanel(*target, {10, 20, 10 + 40, 20 + 40});  // 40 × 40
  const TCanvas& c = target->Canvas;
  EXPECT_EQ(c.Pixel(10 + 39, 20 + 39), Half(PieceColour("IM_REPORT_BOTTOM_RIGHT")));
  EXPECT_EQ(c.Pixel(10 + 39, 20 + 20), Half(PieceColour("IM_REPORT_RIGHT")));
  EXPECT_EQ(c.Pixel(10 + 20, 20 + 39), Half(PieceColour("IM_REPORT_BOTTOM")));
  EXPECT_EQ(c.Pixel(10 + 20, 20 + 20), Half(PieceColour("IM_REPORT_CENTER")));
  EXPECT_EQ(c.Pixel(10, 20), Half(PieceColour("IM_REPORT_TOP_LEFT")));
  // Outside the rectangle nothing changed.
  EXPECT_EQ(c.Pixel(9, 20), clr::Black);
  EXPECT_EQ(c.Pixel(50, 60), clr::Black);
}

TEST_F(PanelFixture, On32By32TheCornersCoverEverything) {
  auto target = SolidPicture(32, 32, TColor{50, 51, 52});
  Painter->DrawPanel(*target, {0, 0, 32, 32});
  auto blend = [](TColor a, TColor b) {
    return TColor{static_cast<std::uint8_t>((a.R + b.R) / 2), static_cast<std::uint8_t>((a.G + b.G) / 2),
                  static_cast<std::uint8_t>((a.B + b.B) / 2)};
  };
  const TColor under{50, 51, 52};
  EXPECT_EQ(target->Canvas.Pixel(3, 3), blend(PieceColour("IM_REPORT_TOP_LEFT"), under));
  EXPECT_EQ(target->Canvas.Pixel(28, 3), blend(PieceColour("IM_REPORT_TOP_RIGHT"), under));
  EXPECT_EQ(target->Canvas.Pixel(3, 28), blend(PieceColour("IM_REPORT_BOTTOM_LEFT"), under));
  EXPECT_EQ(target->Canvas.Pixel(28, 28), blend(PieceColour("IM_REPORT_BOTTOM_RIGHT"), under));
}

TEST_F(PaintFixture, MaskThresholdIsBlueHighRedLow) {
  struct TCase {
    TColor Pixel;
    TColor Expected;
  };
  const TCase cases[] = {
      {{0x80, 0x80, 0x80}, clr::Black},  // exactly 0x808080
      {{0x81, 0x80, 0x80}, clr::White},  // 0x808081: red is the low byte
      {{0x7F, 0x80, 0x80}, clr::Black},  // 0x80807F
      {{0x00, 0x00, 0x81}, clr::White},  // 0x810000: blue is the high byte
      {{0xFF, 0xFF, 0x80}, clr::White},  // 0x80FFFF
      {{0x00, 0x00, 0x00}, clr::Black},
  };
  auto mask = std::make_unique<TBitmap>(static_cast<int>(std::size(cases)), 1);
  for (std::size_t i = 0; i < std::size(cases); ++i) mask->Canvas.SetPixel(static_cast<int>(i), 0, cases[i].Pixel);
  TBitmap* view = mask.get();
  Painter->AddImage("IM_MASK", std::move(mask));
  Painter->MakeMask("IM_MASK");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(view->Canvas.Pixel(static_cast<int>(i), 0), cases[i].Expected) << i;
  }
  Painter->MakeMask("IM_NOT_THERE");  // an unknown name is ignored
}

TEST_F(PaintFixture, ExplosionFramesAreCutFromTheMaskedSheetAndDrawTransparent) {
  // Each frame cell: a bright square in its middle on a coloured (not black) background that
  // the mask must wipe to black.
  auto inFire = [](int x, int y) {
    const int fx = x % 48, fy = y % 64;
    return x < 240 && fx >= 12 && fx < 36 && fy >= 20 && fy < 44;
  };
  WriteJpeg(Folder + "Images/Explosion.jpg", 256, 256,
            [&](int x, int y) { return inFire(x, y) ? TColor{250, 200, 40} : TColor{90, 20, 20}; });
  WriteJpeg(Folder + "Images/ExplosionMask.jpg", 256, 256,
            [&](int x, int y) { return inFire(x, y) ? clr::White : clr::Black; });
  Painter->BuildExplosion();
  for (int n = 0; n < ExplosionFrameCount; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "IM_EXPLOSION_FRAME_%02d", n);
    TBitmap* frame = Painter->GetImage(name);
    ASSERT_NE(frame, nullptr) << name;
    ASSERT_EQ(Painter->ExplosionFrame(n), frame);
    EXPECT_EQ(frame->Width(), 48);
    EXPECT_EQ(frame->Height(), 64);
    EXPECT_EQ(frame->Canvas.Pixel(0, 63), clr::Black);
  }
  auto screen = SolidPicture(48, 64, Sea);
  screen->Canvas.Draw(0, 0, Painter->ExplosionFrame(7));
  EXPECT_EQ(screen->Canvas.Pixel(2, 2), Sea);  // masked background stays transparent
  const TColor fire = screen->Canvas.Pixel(24, 32);
  EXPECT_GT(fire.R, 200);
  EXPECT_GT(fire.G, 150);
}

// ---- The console panel ----------------------------------------------------------------------

class ConsoleFixture : public PaintFixture {
 protected:
  void SetUp() override {
    PaintFixture::SetUp();
    Painter->AddImage("SYS_BACK", std::make_unique<TBitmap>(696, 488));
    Painter->AddImage("SYS_CONSOL", std::make_unique<TBitmap>(688, 128));
    Painter->AddImage("IM_CONSOL", SolidPicture(688, 128, clr::Black));
    Painter->GetImage("SYS_CONSOL")->Canvas.Font = {"Arial", 10, clr::Yellow, TFontStyle::Bold};
    Probe(*GameEngine).State = gsPlacing;
  }
  // Line i is i + 1 capital I's, so a drawn line's width tells which one it is.
  void AddLines(int count) {
    for (int i = 0; i < count; ++i) Console->AddLine(std::string(static_cast<std::size_t>(i + 1), 'I'));
  }
  // The line drawn in text row k of the panel, or -1 for none.
  int LineShownAt(int k) {
    Painter->DrawConsole();
    const TCanvas& panel = Painter->GetImage("SYS_CONSOL")->Canvas;
    int right = -1;
    for (int y = 32 + 16 * k; y < 32 + 16 * k + 16 && y < 128; ++y)
      for (int x = 0; x < 688; ++x)
        if (panel.Pixel(x, y).R > 128) right = std::max(right, x);
    if (right < 0) return -1;
    TCanvas measure;
    measure.Font = panel.Font;
    for (int i = 0; i < 40; ++i) {
      if (8 + measure.TextWidth(std::string(static_cast<std::size_t>(i + 1), 'I')) > right) return i;
    }
    return 99;
  }
};

TEST_F(ConsoleFixture, LineStepIs16AndFiveLinesFit) {
  EXPECT_EQ(Painter->ConsoleLineStep(), 16);
  EXPECT_EQ(Painter->ConsoleVisibleLines(), 5);
}

TEST_F(ConsoleFixture, FewLinesAreDrawnFromTheTopWhateverTheViewEnd) {
  AddLines(3);
  Painter->ScrollConsole(1);
  EXPECT_EQ(LineShownAt(0), 0);
  EXPECT_EQ(LineShownAt(1), 1);
  EXPECT_EQ(LineShownAt(2), 2);
  EXPECT_EQ(LineShownAt(3), -1);
}

TEST_F(ConsoleFixture, TheViewEndsAtConsoleEnd) {
  AddLines(12);
  Painter->ScrollConsole(12);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(LineShownAt(k), 7 + k);
}

TEST_F(ConsoleFixture, ScrollingBelowTheFirstScreenfulIsRaisedToIt) {
  AddLines(12);
  Painter->ScrollConsole(6);
  Painter->ScrollConsole(Painter->ConsoleEndLine() - 4);
  EXPECT_EQ(Painter->ConsoleEndLine(), 2);
  EXPECT_EQ(LineShownAt(0), 0);
  EXPECT_EQ(Painter->ConsoleEndLine(), 5);
  EXPECT_EQ(LineShownAt(4), 4);
}

TEST_F(ConsoleFixture, ScrollTargetsAreClampedAndBadOnesIgnored) {
  AddLines(12);
  Painter->MarkGraphicsReady();
  Painter->ScrollConsole(32767);
  EXPECT_EQ(Painter->ConsoleEndLine(), 12);
  // A marker on the panel shows whether anything was drawn.
  TBitmap* panel = Painter->GetImage("SYS_CONSOL");
  panel->Canvas.SetPixel(600, 120, Sea);
  Painter->ScrollConsole(-2);
  Painter->ScrollConsole(12);
  EXPECT_EQ(Painter->ConsoleEndLine(), 12);
  EXPECT_EQ(panel->Canvas.Pixel(600, 120), Sea);
  Painter->ScrollConsole(8);
  EXPECT_EQ(Painter->ConsoleEndLine(), 8);
  EXPECT_EQ(panel->Canvas.Pixel(600, 120), clr::Black);
}

TEST_F(ConsoleFixture, NothingIsDrawnBeforeGraphicsAreReady) {
  TBitmap* back = Painter->GetImage("SYS_BACK");
  back->Canvas.SetPixel(100, 400, Sea);
  Painter->Redraw();
  Painter->ScrollConsole(3);
  EXPECT_EQ(back->Canvas.Pixel(100, 400), Sea);
}

// ---- Start-up with the game's own pictures -------------------------------------------------

class AssetFixture : public PaintFixture {
 protected:
  void SetUp() override {
    PaintFixture::SetUp();
    fs::remove_all(Folder + "Images");
    fs::copy(fs::path(KRAVELON_ASSETS) / "Images", Folder + "Images", fs::copy_options::recursive);
  }
};

// The result is the shooter's who sank the last ship: the user wins when the user still has the
// turn. Told apart by where the text drawn on the panel ends, which differs by a word.
TEST_F(AssetFixture, TheReportSaysWhoWon) {
  ASSERT_NO_THROW(Painter->Initialize());
  TCanvas measure;
  measure.Font = Painter->MenuFont();
  measure.Font.Size = 60;
  for (const TSide winner : {sdUser, sdComputer}) {
    SCOPED_TRACE(winner);
    Probe(*GameEngine).ActiveSide = winner;
    Painter->ResetReport();
    Painter->DrawReportText();
    const TCanvas& text = Painter->GetImage("IM_REPORT_TEXT")->Canvas;
    const TCanvas& blank = Painter->GetImage("IM_REPORT_BACK")->Canvas;
    int left = 696, right = 0;
    for (int y = ReportPanelRect.Top; y < ReportPanelRect.Bottom; ++y)
      for (int x = 0; x < 696; ++x)
        if (!(text.Pixel(x, y) == blank.Pixel(x, y))) {
          left = std::min(left, x);
          right = std::max(right, x + 1);
        }
    const std::string expected = winner == sdUser ? "Вы выиграли!" : "Вы проиграли...";
    const std::string other = winner == sdUser ? "Вы проиграли..." : "Вы выиграли!";
    // The glyphs' side bearings leave a few columns of the advance blank.
    EXPECT_NEAR(right - left, measure.TextWidth(expected), 8);
    EXPECT_GT(std::abs((right - left) - measure.TextWidth(other)), 30);
  }
}

TEST_F(AssetFixture, StartUpLoadsEverythingAndSumsItUp) {
  ASSERT_NO_THROW(Painter->Initialize());
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(Painter->ImageCount(), 66u);
  const auto& lines = Console->AllLines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[lines.size() - 3], "Paint: Загружено изображений: 17 шт.");
  EXPECT_EQ(lines[lines.size() - 2], "Paint: Создано изображение: 48 шт.");
  EXPECT_EQ(lines[lines.size() - 1], "Paint: Всего используется изображений: 65 шт.");

  std::vector<std::string> first{"Paint: Загружено изображение формата JPEG: Images/About.jpg",
                                 "Paint: Инициализация модуля прорисовки"};
  for (const char* name : {"Ship", "Shipoff", "Empty", "Miss", "Sunk", "Revealed"})
    first.push_back(std::string("Paint: Загружено изображение формата JPEG: Images/") + name + ".jpg");
  first.push_back("Paint: Загружен точечный рисунок: Images/Border.bmp");
  for (const char* name : {"Backround", "Consol", "MenuBar", "Title", "MenuSelected", "Win", "Active"})
    first.push_back(std::string("Paint: Загружено изображение формата JPEG: Images/") + name + ".jpg");
  for (const char* size : {"696x488", "688x128", "32x32", "32x32", "32x32", "32x32", "32x32",
                           "32x32", "32x32", "32x32", "128x128", "696x488", "696x488", "32x32",
                           "32x32"})
    first.push_back(std::string("Paint: Создано изображение размером ") + size);
  ASSERT_GE(lines.size(), first.size());
  for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(lines[i], first[i]) << i;
}

TEST_F(AssetFixture, OnlyThePicturesScreensDrawKeepTheirPixelsAfterStartUp) {
  ASSERT_NO_THROW(Painter->Initialize());
  const std::vector<std::string> released{"IM_SETTINGS", "IM_SETTING_BACK", "IM_EXPLOSION",
                                          "IM_EXPLOSION_MASK", "IM_BORDER", "IM_ACTIVE"};
  for (const std::string& name : released) {
    ASSERT_NE(Painter->GetImage(name), nullptr) << name;
    EXPECT_TRUE(Painter->GetImage(name)->Empty()) << name;
  }
  // Everything the screens, the menus, the explosion and the placement draw is whole.
  std::vector<std::string> drawn{"SYS_BACK", "SYS_CONSOL", "IM_CONSOL", "IM_BACKROUND", "IM_TITLE",
                                 "IM_EMPTY", "IM_MISS", "IM_SHIP", "IM_SHIPOFF", "IM_SUNK",
                                 "IM_REVEALED", "IM_WIN", "IM_ABOUT",
                                 "IM_MENU", "IM_MENU_SELECT", "IM_REPORT_BACK", "IM_REPORT_TEXT",
                                 "IM_SHIP_TEST_ON", "IM_SHIP_TEST_OFF", "IM_BORDER_LEFT",
                                 "IM_BORDER_TOP_LEFT", "IM_BORDER_BOTTOM_RIGHT"};
  for (int n = 0; n < ExplosionFrameCount; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "IM_EXPLOSION_FRAME_%02d", n);
    drawn.emplace_back(name);
  }
  for (const std::string& name : drawn) {
    ASSERT_NE(Painter->GetImage(name), nullptr) << name;
    EXPECT_FALSE(Painter->GetImage(name)->Empty()) << name;
  }
}

TEST_F(AssetFixture, ADamagedAboutPictureStopsStartUpWithAMessage) {
  const std::string about = Folder + "Images/About.jpg";
  std::string bytes;
  {
    std::ifstream in(about, std::ios::binary);
    bytes.assign((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x01);
  std::ofstream(about, std::ios::binary) << bytes;
  try {
    Painter->Initialize();
    FAIL() << "start-up went on with a damaged About.jpg";
  } catch (const TFileError& e) {
    EXPECT_EQ(e.Path(), about);
    EXPECT_STREQ(e.what(), ("Поврежден файл\r\n\"" + about + "\"").c_str());
  }
  EXPECT_TRUE(Boxes.empty());  // the window shows it, as any other start-up failure
  EXPECT_EQ(Painter->ImageCount(), 1u);
}

TEST_F(AssetFixture, AMissingPictureStopsStartUpNamingIt) {
  fs::remove(Folder + "Images/Miss.jpg");
  try {
    Painter->Initialize();
    FAIL() << "start-up went on without Miss.jpg";
  } catch (const TToolkitError& e) {
    EXPECT_NE(std::string(e.what()).find(Folder + "Images/Miss.jpg"), std::string::npos);
  }
  EXPECT_EQ(Painter->GetImage("IM_MISS"), nullptr);
  for (const auto& line : Console->AllLines()) EXPECT_EQ(line.find("Результаты"), std::string::npos);
}

// ---- Partial updates ----------------------------------------------------------------------

// The board screen with the game's pictures, shown once in full.
class UpdateFixture : public AssetFixture {
 protected:
  void SetUp() override {
    AssetFixture::SetUp();
    ASSERT_NO_THROW(Painter->Initialize());
    GameEngine->NewGame();
    Probe(*GameEngine).State = gsBattle;
    Painter->MarkGraphicsReady();
    Painter->Redraw();
  }
  std::vector<TColor> Screen() {
    std::vector<TColor> pixels;
    for (int y = 0; y < 488; ++y)
      for (int x = 0; x < 696; ++x) pixels.push_back(Window->Canvas().Pixel(x, y));
    return pixels;
  }
  // Paints the window (not the back buffer) over, so that what an update sends shows apart.
  void Scribble() {
    TCanvas& window = Window->Canvas();
    window.BrushColor = clr::Magenta;
    window.FillRect({0, 0, 696, 488});
  }
  // Where the window shows anything but the scribble (empty where nothing).
  TRect Touched() {
    TRect box{696, 488, 0, 0};
    for (int y = 0; y < 488; ++y)
      for (int x = 0; x < 696; ++x)
        if (!(Window->Canvas().Pixel(x, y) == clr::Magenta)) {
          box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                 std::max(box.Bottom, y + 1)};
        }
    return box.Right == 0 ? TRect{} : box;
  }
  int Differences(const std::vector<TColor>& a, const std::vector<TColor>& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i) n += !(a[i] == b[i]);
    return n;
  }
};

TEST_F(UpdateFixture, UpdatesSendOnlyTheirOwnRectangle) {
  const TRect console = Painter->ConsoleRect();
  struct TCase {
    const char* What;
    std::function<void()> Update;
    TRect Within;
  } cases[] = {
      {"status line", [&] { Painter->SetStatusText("Сектор: Ж10"); },
       {console.Left, console.Top, console.Right, console.Top + 32}},
      {"console scroll", [&] { Painter->ScrollConsole(Painter->ConsoleEndLine() - 2); }, console},
      {"explosion", [&] { Painter->PlayAnimation(400, 100, 3); },
       {400, 100, 448, 164}},
  };
  for (const TCase& c : cases) {
    Painter->Redraw();
    Scribble();
    c.Update();
    const TRect touched = Touched();
    EXPECT_GE(touched.Left, c.Within.Left) << c.What;
    EXPECT_GE(touched.Top, c.Within.Top) << c.What;
    EXPECT_LE(touched.Right, c.Within.Right) << c.What;
    EXPECT_LE(touched.Bottom, c.Within.Bottom) << c.What;
    EXPECT_GT(touched.Width(), 0) << c.What << " sent nothing";
  }
}

TEST_F(UpdateFixture, TheTargetFrameSendsOnlyItsCellsAndEndsAsAFullRedrawWould) {
  const auto unframed = Screen();
  // Over a hit, a miss and water alike: yellow on the cell's edge, black inside it.
  GameEngine->WriteCell(2, 3, 1, TCell{0, 1, 1, 0});
  Painter->Redraw();
  for (const TPoint cell : {TPoint{2, 3}, TPoint{3, 3}, TPoint{9, 9}}) {
    Scribble();
    Painter->ShowTarget(1, cell);
    const TRect at = CellRect(1, cell);
    const TRect touched = Touched();
    EXPECT_GE(touched.Left, std::min(at.Left, CellRect(1, {2, 3}).Left));
    EXPECT_LE(touched.Bottom, std::max(at.Bottom, CellRect(1, {2, 3}).Bottom));
    const TCanvas& window = Window->Canvas();
    EXPECT_EQ(window.Pixel(at.Left, at.Top), clr::Yellow);
    EXPECT_EQ(window.Pixel(at.Right - 1, at.Bottom - 2), clr::Yellow);
    EXPECT_EQ(window.Pixel(at.Left + 2, at.Top + 10), clr::Black);
  }
  // Moved from cell to cell, the window shows what a full redraw shows.
  Painter->Redraw();
  Painter->ShowTarget(1, {4, 4});
  Painter->ShowTarget(1, {5, 4});
  const auto partial = Screen();
  Painter->Redraw();
  EXPECT_EQ(Differences(partial, Screen()), 0);
  // Taken away, nothing of it is left.
  GameEngine->WriteCell(2, 3, 1, TCell{});
  Painter->Redraw();
  Painter->HideTarget();
  EXPECT_EQ(Differences(unframed, Screen()), 0);
}

TEST_F(UpdateFixture, TheSameStatusAgainSendsNothing) {
  Painter->SetStatusText("Сектор: Б3");
  Scribble();
  Painter->SetStatusText("Сектор: Б3");  // the pointer moved within the sector
  EXPECT_EQ(Touched().Width(), 0);
}

TEST_F(UpdateFixture, StatusAndConsoleUpdatesEndAsAFullRedrawWould) {
  for (int i = 0; i < 9; ++i) Console->AddLine("Game: Компьютер произвел выстрел в сектор Д" + std::to_string(i));
  Painter->ScrollConsole(32767);
  for (const char* text : {"Сектор: А1", "Сектор: К10", "Сектор: ", "Сектор: Ж7"}) {
    Painter->SetStatusText(text);
  }
  Painter->ScrollConsole(Painter->ConsoleEndLine() - 4);
  Painter->SetStatusText("Сектор: Б2");
  const auto partial = Screen();
  Painter->Redraw();
  EXPECT_EQ(Differences(partial, Screen()), 0);
}

TEST_F(UpdateFixture, EachExplosionFrameIsDrawnOnTheCleanScreenAndTheLastIsWiped) {
  std::vector<std::vector<TColor>> shown;  // the window during each frame's pause
  SetSleeper([&](int) { shown.push_back(Screen()); });
  // Near the right edge the sprite is clipped by the window.
  for (const TPoint at : {TPoint{364, 6}, TPoint{652, 294}}) {
    shown.clear();
    Painter->Redraw();
    Painter->PlayAnimation(at.X, at.Y, ExplosionFrameCount);
    const auto after = Screen();
    Painter->Redraw();
    EXPECT_EQ(Differences(after, Screen()), 0) << at.X << "," << at.Y;
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(ExplosionFrameCount));
    for (std::size_t i = 0; i < shown.size(); ++i) {
      // The frame over a full redraw, with nothing left of the frames before it.
      Painter->Compose();
      Painter->GetImage("SYS_BACK")->Canvas.Draw(at.X, at.Y, Painter->ExplosionFrame(static_cast<int>(i)));
      Painter->CopyToWindow();
      EXPECT_EQ(Differences(shown[i], Screen()), 0) << at.X << "," << at.Y << " frame " << i;
    }
  }
}

// ---- The fleet strip, sunk ships and the final boards ---------------------------------------

class FleetFixture : public UpdateFixture {
 protected:
  void SetUp() override {
    UpdateFixture::SetUp();
    PutLegalFleet(*GameEngine, sdComputer);
    PutLegalFleet(*GameEngine, sdUser);
    Painter->Redraw();
  }
  // The last shot that sinks a ship of LegalFleet on the computer's board, as the window shows it.
  TPoint Sink(const TShipAt& ship) {
    for (int i = 0; i < ship.Length; ++i) MarkFired(*GameEngine, sdComputer, ship.Column + i, ship.Row);
    const TPoint last{ship.Column + ship.Length - 1, ship.Row};
    Painter->ShowShot(sdComputer, last);
    return last;
  }
  bool Shows(TPoint at, const char* picture) {
    const TBitmap* tile = Painter->GetImage(picture);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        if (!(Window->Canvas().Pixel(at.X + x, at.Y + y) == tile->Canvas.Pixel(x, y))) return false;
    return true;
  }
  static TRect Around(const TRect& a, const TRect& b) {
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
  }
  static bool Within(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
  }
};

// The strip at the status line's right follows the computer's fleet from fresh to all sunk; each
// sinking sends the ship's cells and that strip only, and the window ends as a full redraw.
TEST_F(FleetFixture, ASinkingSendsTheShipAndTheFleetStripAndEndsAsAFullRedrawWould) {
  const TRect fleet = Painter->FleetRect();
  ASSERT_FALSE(fleet.Empty());
  const TRect console = Painter->ConsoleRect();
  EXPECT_TRUE(Within(fleet, {console.Left, console.Top, console.Right, console.Top + 32}));
  EXPECT_EQ(Painter->FleetShown(), FleetGroupsOf(*GameEngine, sdComputer));
  // What a shot sends, on a window painted over: each pixel sent is the full redraw's, and any
  // pixel not sent is one the full redraw did not change.
  auto shot = [&](const std::function<void()>& land) {
    Painter->Redraw();
    const auto before = Screen();
    Scribble();
    land();
    const auto sent = Screen();
    const TRect touched = Touched();
    Painter->Redraw();
    const auto after = Screen();
    int wrong = 0;
    for (std::size_t i = 0; i < sent.size(); ++i)
      wrong += sent[i] == clr::Magenta ? !(before[i] == after[i]) : !(sent[i] == after[i]);
    EXPECT_EQ(wrong, 0);
    return touched;
  };
  // A hit that sinks nothing sends its cell alone.
  EXPECT_EQ(shot([&] {
              MarkFired(*GameEngine, sdComputer, 0, 0);
              Painter->ShowShot(sdComputer, {0, 0});
            }),
            CellRect(sdComputer, {0, 0}));
  EXPECT_TRUE(Shows({CellRect(sdComputer, {0, 0}).Left, CellRect(sdComputer, {0, 0}).Top}, "IM_SHIPOFF"));
  for (const TShipAt& ship : LegalFleet) {
    SCOPED_TRACE(ship.Length);
    TPoint last;
    const TRect touched = shot([&] { last = Sink(ship); });
    const TRect cells = Around(CellRect(sdComputer, {ship.Column, ship.Row}), CellRect(sdComputer, last));
    EXPECT_TRUE(Within(touched, Around(cells, fleet)));
    EXPECT_FALSE(touched.Intersect(fleet).Empty()) << "the fleet strip was not sent";
    for (int i = 0; i < ship.Length; ++i) {
      const TRect at = CellRect(sdComputer, {ship.Column + i, ship.Row});
      EXPECT_TRUE(Shows({at.Left, at.Top}, "IM_SUNK")) << i;
    }
    EXPECT_EQ(Painter->FleetShown(), FleetGroupsOf(*GameEngine, sdComputer));
  }
  // With nothing sunk since, the strip sends nothing.
  Scribble();
  Painter->UpdateFleet();
  EXPECT_EQ(Touched().Width(), 0);
}

// The status line's longest sector and the fleet keep clear of each other; a text longer than
// any sector still ends as a full redraw shows it.
TEST_F(FleetFixture, TheStatusLineAndTheFleetShareTheStripAsAFullRedrawDrawsThem) {
  TCanvas measure;
  measure.Font = Painter->GetImage("SYS_CONSOL")->Canvas.Font;
  int widest = 0;
  for (int column = 0; column < 10; ++column)
    for (int row = 0; row < 10; ++row)
      widest = std::max(widest, measure.TextWidth("Сектор: " + CellName(column, row)));
  EXPECT_GT(Painter->FleetRect().Left, ConsolePanelPos.X + StatusTextAt.X + widest);
  for (const char* text : {"Сектор: К10", "Сектор: Ж7 — ещё одна очень длинная строка состояния, что заходит на флот",
                           "Сектор: А1"}) {
    SCOPED_TRACE(text);
    Painter->SetStatusText(text);
    Sink(LegalFleet[9]);
    const auto partial = Screen();
    Painter->Redraw();
    EXPECT_EQ(Differences(partial, Screen()), 0);
  }
}

// The computer's ships nobody hit stay water until the final boards reveal them; a hit segment
// stays a hit, a sunk ship a wreck, and the user's board is drawn as in battle.
TEST_F(FleetFixture, OnlyTheFinalBoardsRevealTheShipsNobodyFound) {
  Sink(LegalFleet[1]);
  MarkFired(*GameEngine, sdComputer, 0, 0);  // the four, hit once
  MarkFired(*GameEngine, sdComputer, 9, 9);  // water
  auto countRevealed = [&] {
    int n = 0;
    for (int board : {sdUser, sdComputer})
      for (int column = 0; column < 10; ++column)
        for (int row = 0; row < 10; ++row) {
          const TRect at = CellRect(board, {column, row});
          n += Shows({at.Left, at.Top}, "IM_REVEALED");
        }
    return n;
  };
  for (const int state : {gsBattle, gsReport}) {
    Probe(*GameEngine).State = state;
    Painter->Redraw();
    EXPECT_EQ(countRevealed(), 0) << state;
  }
  Painter->ShowFinalBoards(true);
  Painter->Redraw();
  // 20 segments less the three-ship sunk and the hit on the four.
  EXPECT_EQ(countRevealed(), 16);
  auto at = [](TPoint cell) { const TRect r = CellRect(sdComputer, cell); return TPoint{r.Left, r.Top}; };
  EXPECT_TRUE(Shows(at({0, 0}), "IM_SHIPOFF"));
  EXPECT_TRUE(Shows(at({1, 0}), "IM_REVEALED"));
  EXPECT_TRUE(Shows(at({5, 0}), "IM_SUNK"));
  EXPECT_TRUE(Shows(at({9, 9}), "IM_MISS"));
  EXPECT_TRUE(Shows({UserBoardRect.Left, UserBoardRect.Top}, "IM_SHIP"));
  // The console comes with the boards, its strip showing the fleet as it ended.
  const TRect console = Painter->ConsoleRect();
  EXPECT_EQ(Window->Canvas().Pixel(console.Left + 1, console.Top + 60),
            Painter->GetImage("IM_CONSOL")->Canvas.Pixel(1, 60));
  Painter->ShowFinalBoards(false);
  Painter->Redraw();
  EXPECT_EQ(countRevealed(), 0);
  // A new game's report starts without them.
  Painter->ShowFinalBoards(true);
  Painter->ResetReport();
  EXPECT_FALSE(Painter->FinalBoardsShown());
}

}  // namespace

}  // namespace kravelon
