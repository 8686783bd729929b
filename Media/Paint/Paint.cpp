#include "Media/Paint/Paint.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "Common/Text.h"
#include "Console/Consol.h"
#include "Media/Language.h"
#include "Media/Layout.h"
#include "Platform/ProgramPath.h"
#include "Platform/Errors.h"
#include "Platform/Files.h"
#include "Toolkit/Jpeg.h"

namespace kravelon {

std::string StatusLine(const std::string& sector, const std::string& salvo) {
  const std::string named = Tr("Сектор: ") + sector;
  return salvo.empty() ? named : named + "    " + salvo;
}

namespace {

std::string UpperCase(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::uint64_t ByteSum(const std::string& path) {
  const TFileBytes file = ReadLimited(path, MaxPictureFileBytes);
  std::uint64_t sum = 0;
  for (const char b : file.Bytes) sum += static_cast<unsigned char>(b);
  return sum;
}

// The loaders' failure, worded for the player: which file could not be read.
[[noreturn]] void CannotLoad(const std::string& fullPath) {
  throw TFileError(fullPath, Tr("Не удалось загрузить изображение") + std::string("\r\n\"") +
                                 fullPath + "\"");
}

// Pictures start-up builds (and counts) that no screen draws afterwards: sheets the pieces and
// frames are cut from, the panels' pieces and pictures of screens the game does not have. They
// keep their names and places in the registry; their pixels go once start-up is done.
constexpr const char* UndrawnImages[] = {
    "IM_BORDER",          "IM_EXPLOSION",          "IM_EXPLOSION_MASK",      "IM_ACTIVE",
    "IM_ACTIVE_MASK",     "IM_SETTINGS",           "IM_SETTING_BACK",        "IM_SHIP_RATE",
    "IM_EMPTY_RATE",      "IM_REPORT",             "IM_REPORT_TOP_LEFT",     "IM_REPORT_TOP",
    "IM_REPORT_TOP_RIGHT", "IM_REPORT_RIGHT",      "IM_REPORT_BOTTOM_RIGHT", "IM_REPORT_BOTTOM",
    "IM_REPORT_BOTTOM_LEFT", "IM_REPORT_LEFT",     "IM_REPORT_CENTER",
};

constexpr const char* FileImages[][2] = {
    {"IM_SHIP", "Images/Ship.jpg"},         {"IM_SHIPOFF", "Images/Shipoff.jpg"},
    {"IM_EMPTY", "Images/Empty.jpg"},       {"IM_MISS", "Images/Miss.jpg"},
    {"IM_SUNK", "Images/Sunk.jpg"},         {"IM_REVEALED", "Images/Revealed.jpg"},
    {"IM_BORDER", "Images/Border.bmp"},     {"IM_BACKROUND", "Images/Backround.jpg"},
    {"IM_CONSOL", "Images/Consol.jpg"},     {"IM_MENU", "Images/MenuBar.jpg"},
    {"IM_TITLE", "Images/Title.jpg"},       {"IM_MENU_SELECT", "Images/MenuSelected.jpg"},
    {"IM_WIN", "Images/Win.jpg"},           {"IM_ACTIVE_MASK", "Images/Active.jpg"},
};

}  // namespace

TPaint::TPaint(TForm& window, std::string version, const TGameEngine& engine, TConsol& consol)
    : Window(window), Version(std::move(version)), Engine(engine), Consol(consol) {}

TPaint::~TPaint() {
  NamedImages.Clear();
  StatusText.clear();
}

// ---- Registry -------------------------------------------------------------------------------

void TPaint::AddImage(std::string_view name, std::unique_ptr<TBitmap> picture) {
  std::string upper = UpperCase(name);
  // The back buffer is the canvas every screen is composed on.
  if (upper == "SYS_BACK") BackCanvas = picture ? &picture->Canvas : nullptr;
  NamedImages.Add(std::move(upper), std::move(picture));
}

TBitmap* TPaint::GetImage(std::string_view name) const {
  return NamedImages.Find(name);
}

std::unique_ptr<TBitmap> TPaint::LoadBitmapImage(const std::string& path) {
  auto picture = std::make_unique<TBitmap>();
  const std::string own = PicturePath(path);
  const std::string full = ProgramPath(own);
  try {
    picture->LoadFromFile(full);
  } catch (const TToolkitError&) {
    CannotLoad(full);
  }
  Log(Tr("Загружен точечный рисунок: ") + own);
  ++LoadedImages;
  return picture;
}

std::unique_ptr<TBitmap> TPaint::LoadJpegImage(const std::string& path) {
  auto picture = std::make_unique<TBitmap>();
  const std::string own = PicturePath(path);
  const std::string full = ProgramPath(own);
  try {
    LoadJpegFile(*picture, full);
  } catch (const TToolkitError&) {
    CannotLoad(full);
  }
  Log(Tr("Загружено изображение формата JPEG: ") + own);
  ++LoadedImages;
  return picture;
}

std::unique_ptr<TBitmap> TPaint::CreateImage(int height, int width) {
  auto picture = std::make_unique<TBitmap>(width, height);
  Log(Fill(Tr("Создано изображение размером %1x%2"), {std::to_string(width), std::to_string(height)}));
  ++CreatedImages;
  return picture;
}

std::unique_ptr<TBitmap> TPaint::CreateImage(const TRect& rect) {
  return CreateImage(rect.Height(), rect.Width());
}

void TPaint::Log(std::string_view text) {
  ConsoleEnd = Consol.Count() + 1;
  Consol.AddLine("Paint: " + std::string(text));
}

// ---- Start-up -------------------------------------------------------------------------------

void TPaint::Initialize() {
  AddImage("IM_ABOUT", LoadJpegImage("Images/About.jpg"));
  TCanvas& about = GetImage("IM_ABOUT")->Canvas;
  about.Font = TFont{"MS Sans Serif", 8, clr::Black, TFontStyle::Bold};
  about.BrushStyle = TBrushStyle::Clear;
  about.TextOut(584, 267, Fill(Tr("Версия %1"), {Version}));

  TCanvas& window = Window.Canvas();
  window.Font = about.Font;
  window.BrushStyle = TBrushStyle::Clear;

  // Every language's about picture adds up to the same sum.
  const std::string aboutPath = ProgramPath(PicturePath("Images/About.jpg"));
  if (ByteSum(aboutPath) != AboutByteSum) {
    throw TFileError(aboutPath, Tr("Поврежден файл") + std::string("\r\n\"") + aboutPath + "\"");
  }

  Log(Tr("Инициализация модуля прорисовки"));
  ScreenRect = {0, 0, Window.ClientWidth(), Window.ClientHeight()};
  LoadedImages = 0;
  CreatedImages = 0;

  auto progress = [&](std::string_view text) {
    Window.Canvas().Draw(0, 0, GetImage("IM_ABOUT"));
    Window.Canvas().TextOut(16, 267, text);
  };

  progress(Tr("Закрузка изображений..."));
  for (const auto& [name, path] : FileImages) {
    const std::string file = path;
    AddImage(name, file.ends_with(".bmp") ? LoadBitmapImage(file) : LoadJpegImage(file));
  }

  progress(Tr("Создание изображений..."));
  AddImage("SYS_BACK", CreateImage(ScreenRect));
  AddImage("SYS_CONSOL", CreateImage(128, 688));
  for (const char* piece : {"IM_BORDER_TOP_LEFT", "IM_BORDER_TOP_RIGHT", "IM_BORDER_BOTTOM_LEFT",
                            "IM_BORDER_BOTTOM_RIGHT", "IM_BORDER_LEFT", "IM_BORDER_RIGHT",
                            "IM_BORDER_TOP", "IM_BORDER_BOTTOM"}) {
    AddImage(piece, CreateImage(32, 32));
  }
  AddImage("IM_ACTIVE", CreateImage(128, 128));
  AddImage("IM_SETTINGS", CreateImage(ScreenRect));
  AddImage("IM_SETTING_BACK", CreateImage(ScreenRect));
  AddImage("IM_SHIP_RATE", CreateImage(32, 32));
  AddImage("IM_EMPTY_RATE", CreateImage(32, 32));

  progress(Tr("Инициализация..."));
  CutBorderPieces();
  MakeShipPreviews();
  BuildExplosion();
  BuildReport();

  TCanvas& active = GetImage("IM_ACTIVE")->Canvas;
  active.BrushColor = clr::Red;
  active.FillRect({0, 0, 128, 128});

  TCanvas& consol = GetImage("SYS_CONSOL")->Canvas;
  consol.Font = TFont{"Arial", 10, clr::Yellow, TFontStyle::Bold};
  // The status line names a sector (and in a salvo its shots left); the fleet beside it keeps
  // clear of the widest it can be.
  SectorWidth = SalvoWidth = 0;
  for (int column = 0; column < BoardSize; ++column) {
    const std::string sector = CellName(column, BoardSize - 1);
    SectorWidth = std::max(SectorWidth, consol.TextWidth(StatusLine(sector, "")));
    SalvoWidth = std::max(SalvoWidth, consol.TextWidth(StatusLine(sector, SalvoText(10, 10))));
  }

  TCanvas& title = GetImage("IM_TITLE")->Canvas;
  title.Font = consol.Font;
  title.BrushStyle = TBrushStyle::Clear;
  title.TextOut(14, 9, Tr("МЕНЮ"));
  // The game menu's button at the strip's other end, its word centred on it.
  const std::string game = Tr("ИГРА");
  const TRect button = GameMenuButtonRect;
  title.TextOut(button.Left + (button.Width() - title.TextWidth(game)) / 2, 9, game);

  BigFont = TFont{"IMPACT", 36, TColor{0, 255, 255}, TFontStyle::Regular};

  GetImage("IM_SHIP_RATE")->Assign(*GetImage("IM_SHIP"));
  GetImage("IM_EMPTY_RATE")->Assign(*GetImage("IM_EMPTY"));
  DrawPanel(*GetImage("IM_SHIP_RATE"), {0, 0, 32, 32});
  DrawPanel(*GetImage("IM_EMPTY_RATE"), {0, 0, 32, 32});

  for (const char* name : UndrawnImages) {
    if (TBitmap* picture = GetImage(name)) picture->SetSize(0, 0);
  }

  Log(Tr("Инициализация завершена"));
  Log(Tr("==============Результаты=============="));
  Log(Fill(Tr("Загружено изображений: %1 шт."), {std::to_string(LoadedImages)}));
  Log(Fill(Tr("Создано изображение: %1 шт."), {std::to_string(CreatedImages)}));
  Log(Fill(Tr("Всего используется изображений: %1 шт."),
           {std::to_string(LoadedImages + CreatedImages)}));
  Redraw();
}

void TPaint::CutBorderPieces() {
  static constexpr std::pair<const char*, TRect> Pieces[] = {
      {"IM_BORDER_TOP_LEFT", {0, 0, 32, 32}},      {"IM_BORDER_TOP_RIGHT", {32, 0, 64, 32}},
      {"IM_BORDER_BOTTOM_LEFT", {0, 32, 32, 64}},  {"IM_BORDER_BOTTOM_RIGHT", {32, 32, 64, 64}},
      {"IM_BORDER_LEFT", {0, 16, 32, 48}},         {"IM_BORDER_RIGHT", {32, 16, 64, 48}},
      {"IM_BORDER_TOP", {16, 0, 48, 32}},          {"IM_BORDER_BOTTOM", {16, 32, 48, 64}},
  };
  const TBitmap* sheet = GetImage("IM_BORDER");
  for (const auto& [name, source] : Pieces) {
    TBitmap* piece = GetImage(name);
    if (!piece || !sheet) continue;
    piece->Canvas.CopyRect({0, 0, 32, 32}, *sheet, source);
    piece->TransparentMode = TTransparentMode::Fixed;
    piece->TransparentColor = clr::Magenta;
    piece->Transparent = true;
  }
}

void TPaint::MakeShipPreviews() {
  AddImage("IM_SHIP_TEST_ON", CreateImage(32, 32));
  AddImage("IM_SHIP_TEST_OFF", CreateImage(32, 32));
  TBitmap& on = *GetImage("IM_SHIP_TEST_ON");
  on.Assign(*GetImage("IM_SHIP"));
  GetImage("IM_SHIP_TEST_OFF")->Assign(*GetImage("IM_SHIPOFF"));
  // The allowed preview is the ship half faded into water: each channel's mean, rounded down.
  on.AverageWith(*GetImage("IM_EMPTY"), 32, 32);
}

}  // namespace kravelon
