#pragma once
// Off-screen pictures with a canvas: 32-bit software surfaces in the window's pixel format.
// SDL stays behind forward declarations so the game's headers never see it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "Toolkit/Font.h"
#include "Formats/PictureLimits.h"
#include "Formats/SdlPtr.h"
#include "Common/Types.h"

struct SDL_Surface;

namespace kravelon {

enum class TBrushStyle : std::uint8_t { Solid, Clear };
enum class TCopyMode : std::uint8_t { Copy, And };

class TBitmap;

// Drawing into a surface. A window's canvas calls OnChanged after each operation so that what is
// drawn on the window shows at once.
class TCanvas {
 public:
  TFont Font;
  TColor BrushColor = clr::White;
  TBrushStyle BrushStyle = TBrushStyle::Solid;
  TCopyMode CopyMode = TCopyMode::Copy;
  std::function<void()> OnChanged;

  explicit TCanvas(SDL_Surface* surface = nullptr) : Surface(surface) {}
  void SetSurface(SDL_Surface* surface) { Surface = surface; }
  SDL_Surface* GetSurface() const { return Surface; }

  // Draws the whole picture with its top-left corner at (x, y), honouring its transparency.
  // A null or empty picture draws nothing.
  void Draw(int x, int y, const TBitmap* picture);
  // Draws an opaque picture at (0, 0) everywhere but inside `covered` (canvas coordinates): the
  // parts the caller is about to cover with opaque pictures of its own need no pixels first.
  void DrawAround(const TBitmap* picture, const TRect* covered, int count);
  // Copies source's rectangle onto this canvas's rectangle (same size), using CopyMode.
  void CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect);
  void StretchDraw(const TRect& dest, const TBitmap* picture);
  void FillRect(const TRect& rect);  // with BrushColor
  void TextOut(int x, int y, std::string_view text);
  int TextWidth(std::string_view text);
  // The font's line height: the text is not measured (every line of a font is as tall).
  int TextHeight(std::string_view text);
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);

 private:
  bool DrawSameFormat(int x, int y, const TBitmap& picture);
  void Changed() {
    if (OnChanged) OnChanged();
  }
  SDL_Surface* Surface;
};

enum class TTransparentMode : std::uint8_t { Auto, Fixed };

class TBitmap {
 public:
  TBitmap();
  TBitmap(int width, int height);
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Resizing keeps no content; the new pixels are black.
  void SetSize(int width, int height);
  int Width() const;
  int Height() const;
  bool Empty() const { return Width() == 0 || Height() == 0; }

  // Drawing with Transparent on leaves pixels of the transparent colour undrawn: the fixed
  // colour, or (Auto) the picture's bottom-left pixel at the time of drawing.
  bool Transparent = false;
  TTransparentMode TransparentMode = TTransparentMode::Auto;
  TColor TransparentColor = clr::Black;
  TColor EffectiveTransparentColor() const;

  // 32-bit rows; each pixel is one 32-bit word in the surface's format.
  std::uint32_t* Row(int y);
  const std::uint32_t* Row(int y) const;
  // Splits a pixel word into (red, green, blue) and back, in this picture's format.
  TColor Unpack(std::uint32_t pixel) const;
  std::uint32_t Pack(TColor color) const;

  // Each pixel of the top-left width × height area becomes the mean of itself and the other
  // picture's pixel there, channel by channel, rounded down (clipped to both pictures).
  void AverageWith(const TBitmap& other, int width, int height);

  // Makes this picture an exact copy of another (size and pixels).
  void Assign(const TBitmap& other);
  // Takes over a surface this toolkit made (e.g. a decoder's output), converting it to the
  // picture format.
  void AdoptSurface(TSurfacePtr surface);
  // Loads a Windows bitmap file; throws TFileError naming the path on failure.
  void LoadFromFile(const std::string& path);

  TCanvas Canvas;
  SDL_Surface* Surface() const { return Surf.get(); }

 private:
  TSurfacePtr Surf;
};

// The pixel format every new picture takes: the window surface's, so presenting is a plain copy.
void SetPicturePixelFormat(std::uint32_t sdlPixelFormat);

}  // namespace kravelon
