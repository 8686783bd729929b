// kravelon-assetgen: writes every picture, sound and the cursor of the game.
//   kravelon-assetgen [--contact-sheet FILE.png] [--mockup FILE.png] OUTPUT_DIR
// OUTPUT_DIR receives Images/, Sounds/ and Icons/; the same program always writes the same bytes.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "tools/assetgen/Art.h"
#include "tools/assetgen/Formats.h"
#include "tools/assetgen/Preview.h"
#include "tools/assetgen/Synth.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

// The game refuses an about picture whose bytes do not add up to this.
constexpr uint64_t kAboutByteSum = 25902023;

// Quality per kind: tiles and masks must stay crisp, big scenes may be lighter.
constexpr int kTileQuality = 97;
constexpr int kSceneQuality = 90;
constexpr int kMaskQuality = 95;

void WriteAssets(const fs::path& out) {
  fs::path images = out / "Images", sounds = out / "Sounds";
  fs::create_directories(images);
  fs::create_directories(sounds);

  auto jpeg = [&](const char* name, const Raster& r, int quality, bool fullChroma) {
    WriteFile(images / name, EncodeJpeg(r, quality, fullChroma));
  };
  // The pictures that carry words, once for each language: the game looks in Images/<code>/
  // first. Every about picture adds up to the sum the game checks.
  for (const PictureWords* words : {&kRussianWords, &kEnglishWords}) {
    const fs::path folder = images / words->folder;
    fs::create_directories(folder);
    WriteFile(folder / "About.jpg", PadToByteSum(EncodeJpeg(AboutPicture(*words), kSceneQuality,
                                                            false),
                                                 kAboutByteSum));
    WriteFile(folder / "Title.jpg", EncodeJpeg(TitlePicture(*words), kTileQuality, true));
  }
  jpeg("Ship.jpg", ShipTile(), kTileQuality, true);
  jpeg("Shipoff.jpg", HitTile(), kTileQuality, true);
  jpeg("Empty.jpg", WaterTile(), kTileQuality, true);
  jpeg("Miss.jpg", MissTile(), kTileQuality, true);
  jpeg("Sunk.jpg", SunkTile(), kTileQuality, true);
  jpeg("Revealed.jpg", RevealedTile(), kTileQuality, true);
  jpeg("Backround.jpg", BackgroundPicture(), kSceneQuality, true);
  jpeg("Consol.jpg", ConsolePicture(), kSceneQuality, true);
  jpeg("MenuBar.jpg", MenuPicture(false), kSceneQuality, true);
  jpeg("MenuSelected.jpg", MenuPicture(true), kSceneQuality, true);
  jpeg("Win.jpg", WinPicture(), kSceneQuality, false);
  jpeg("Active.jpg", ActivePicture(), kSceneQuality, true);
  ExplosionSheets blast = ExplosionPictures();
  jpeg("Explosion.jpg", blast.colour, kMaskQuality, true);
  jpeg("ExplosionMask.jpg", blast.mask, kMaskQuality, true);
  WriteFile(images / "Border.bmp", EncodeBmp24(BorderSheet()));
  WriteFile(images / "Report.bmp", EncodeBmp24(ReportSheet()));
  Cursor sight = Gunsight();
  WriteFile(images / "CURSOR.CUR", EncodeCur(sight.colour, sight.alpha, sight.hotX, sight.hotY));

  // The desktop's icons, one file a size; the install puts each into its hicolor folder.
  fs::path icons = out / "Icons";
  fs::create_directories(icons);
  for (int size : kIconSizes) {
    Icon icon = AppIcon(size);
    WriteFile(icons / ("kravelon-" + std::to_string(size) + ".png"),
              EncodePngWithAlpha(icon.colour, icon.alpha));
  }

  WriteFile(sounds / "Shot.wav", EncodeWav(ShotSound(), kSampleRate));
  WriteFile(sounds / "Setup.wav", EncodeWav(SetupSound(), kSampleRate));
  WriteFile(sounds / "win.wav", EncodeWav(WinTune(), kSampleRate));
}

int Usage() {
  std::fprintf(stderr,
               "usage: kravelon-assetgen [--contact-sheet FILE.png] [--mockup FILE.png] "
               "OUTPUT_DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path sheet, mockup, out;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--contact-sheet" && i + 1 < argc) {
      sheet = argv[++i];
    } else if (arg == "--mockup" && i + 1 < argc) {
      mockup = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && out.empty()) {
      out = arg;
    } else {
      return Usage();
    }
  }
  if (out.empty()) return Usage();
  try {
    WriteAssets(out);
    if (!sheet.empty()) WriteContactSheet(out, sheet);
    if (!mockup.empty()) WriteMockup(out, mockup);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kravelon-assetgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
