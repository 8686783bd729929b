#include "Toolkit/Graphics.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "Formats/Decoders.h"
#include "Platform/Errors.h"
#include "Toolkit/Fonts.h"

namespace kravelon {

namespace {

std::uint32_t PictureFormat = SDL_PIXELFORMAT_RGB888;

SDL_Rect ToSdl(const TRect& r) { return SDL_Rect{r.Left, r.Top, r.Width(), r.Height()}; }

std::uint32_t* PixelAt(SDL_Surface* s, int x, int y) {
  return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch) + x;
}

bool Inside(const SDL_Surface* s, int x, int y) { return x >= 0 && y >= 0 && x < s->w && y < s->h; }

}  // namespace

void SetPicturePixelFormat(std::uint32_t sdlPixelFormat) {
  if (SDL_BITSPERPIXEL(sdlPixelFormat) == 32 && !SDL_ISPIXELFORMAT_ALPHA(sdlPixelFormat)) {
    PictureFormat = sdlPixelFormat;
  }
}

// ---- TCanvas --------------------------------------------------------------------------------

// Pictures in the same 32-bit format are copied row by row, skipping the transparent colour
// where there is one: the screen is composed of a few hundred such draws every redraw, and
// SDL's general blit spends more on its bookkeeping than on the pixels.
bool TCanvas::DrawSameFormat(int x, int y, const TBitmap& picture) {
  SDL_Surface* source = picture.Surface();
  if (source->format->format != Surface->format->format || source->format->BytesPerPixel != 4 ||
      SDL_ISPIXELFORMAT_ALPHA(source->format->format)) {
    return false;
  }
  const int left = std::max(0, -x), top = std::max(0, -y);
  const int right = std::min(source->w, Surface->w - x), bottom = std::min(source->h, Surface->h - y);
  if (left >= right || top >= bottom) return true;
  // The spare byte of a 32-bit pixel is not part of its colour (decoders may fill it).
  const std::uint32_t colourBits =
      source->format->Rmask | source->format->Gmask | source->format->Bmask;
  if (!picture.Transparent) {
    const std::size_t bytes = static_cast<std::size_t>(right - left) * 4;
    for (int row = top; row < bottom; ++row) {
      std::memcpy(PixelAt(Surface, x + left, y + row), PixelAt(source, left, row), bytes);
    }
    return true;
  }
  const TColor key = picture.EffectiveTransparentColor();
  const std::uint32_t keyPixel = SDL_MapRGB(source->format, key.R, key.G, key.B) & colourBits;
  for (int row = top; row < bottom; ++row) {
    const std::uint32_t* from = PixelAt(source, 0, row);
    std::uint32_t* to = PixelAt(Surface, x, y + row);
    // Every pixel written, the old one where the key shows through: without a branch the loop
    // runs several pixels an instruction (the border is mostly key colour, and drawn each frame).
    for (int column = left; column < right; ++column) {
      const std::uint32_t pixel = from[column];
      to[column] = (pixel & colourBits) != keyPixel ? pixel : to[column];
    }
  }
  return true;
}

void TCanvas::Draw(int x, int y, const TBitmap* picture) {
  if (!Surface || !picture || picture->Empty()) return;
  if (!DrawSameFormat(x, y, *picture)) {
    SDL_Surface* source = picture->Surface();
    if (picture->Transparent) {
      const TColor key = picture->EffectiveTransparentColor();
      SDL_SetColorKey(source, SDL_TRUE, SDL_MapRGB(source->format, key.R, key.G, key.B));
    }
    SDL_Rect dest{x, y, source->w, source->h};
    SDL_BlitSurface(source, nullptr, Surface, &dest);
    if (picture->Transparent) SDL_SetColorKey(source, SDL_FALSE, 0);
  }
  Changed();
}

void TCanvas::DrawAround(const TBitmap* picture, const TRect* covered, int count) {
  if (!Surface || !picture || picture->Empty()) return;
  SDL_Surface* source = picture->Surface();
  if (picture->Transparent || source->format->format != Surface->format->format ||
      source->format->BytesPerPixel != 4) {
    Draw(0, 0, picture);
    return;
  }
  const int width = std::min(source->w, Surface->w), height = std::min(source->h, Surface->h);
  std::vector<std::pair<int, int>> spans;  // the covered columns of one row
  for (int y = 0; y < height; ++y) {
    spans.clear();
    for (int i = 0; i < count; ++i) {
      if (y >= covered[i].Top && y < covered[i].Bottom && covered[i].Left < covered[i].Right) {
        spans.emplace_back(covered[i].Left, covered[i].Right);
      }
    }
    std::sort(spans.begin(), spans.end());
    int x = 0;
    auto copyTo = [&](int end) {
      end = std::min(end, width);
      if (end > x) {
        std::memcpy(PixelAt(Surface, x, y), PixelAt(source, x, y),
                    static_cast<std::size_t>(end - x) * 4);
      }
    };
    for (const auto& [left, right] : spans) {
      copyTo(left);
      x = std::max(x, right);
    }
    copyTo(width);
  }
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
  if (!Surface || source.Empty()) return;
  if (CopyMode == TCopyMode::Copy) {
    SDL_Rect from = ToSdl(sourceRect);
    SDL_Rect to = ToSdl(dest);
    if (from.w == to.w && from.h == to.h) {
      SDL_BlitSurface(source.Surface(), &from, Surface, &to);
    } else {
      SDL_BlitScaled(source.Surface(), &from, Surface, &to);
    }
    Changed();
    return;
  }
  // Bitwise AND of source and destination, channel by channel.
  SDL_Surface* src = source.Surface();
  const int w = std::min(dest.Width(), sourceRect.Width());
  const int h = std::min(dest.Height(), sourceRect.Height());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int sx = sourceRect.Left + x, sy = sourceRect.Top + y;
      const int dx = dest.Left + x, dy = dest.Top + y;
      if (!Inside(src, sx, sy) || !Inside(Surface, dx, dy)) continue;
      std::uint8_t sr, sg, sb, dr, dg, db;
      SDL_GetRGB(*PixelAt(src, sx, sy), src->format, &sr, &sg, &sb);
      std::uint32_t* d = PixelAt(Surface, dx, dy);
      SDL_GetRGB(*d, Surface->format, &dr, &dg, &db);
      *d = SDL_MapRGB(Surface->format, sr & dr, sg & dg, sb & db);
    }
  }
  Changed();
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap* picture) {
  if (!Surface || !picture || picture->Empty()) return;
  SDL_Rect to = ToSdl(dest);
  SDL_BlitScaled(picture->Surface(), nullptr, Surface, &to);
  Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  if (!Surface) return;
  SDL_Rect r = ToSdl(rect);
  SDL_FillRect(Surface, &r, SDL_MapRGB(Surface->format, BrushColor.R, BrushColor.G, BrushColor.B));
  Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) {
  if (!Surface) return;
  SDL_Surface* rendered = RenderText(Font, text);
  if (BrushStyle == TBrushStyle::Solid) {
    SDL_Rect box{x, y, rendered ? rendered->w : 0, rendered ? rendered->h : 0};
    SDL_FillRect(Surface, &box,
                 SDL_MapRGB(Surface->format, BrushColor.R, BrushColor.G, BrushColor.B));
  }
  if (rendered) {
    SDL_Rect dest{x, y, rendered->w, rendered->h};
    SDL_BlitSurface(rendered, nullptr, Surface, &dest);
  }
  Changed();
}

// The rendered text is as wide as SDL_ttf measures it, and it is usually drawn next: measuring
// through the text cache spares shaping the same text twice.
int TCanvas::TextWidth(std::string_view text) {
  const SDL_Surface* rendered = RenderText(Font, text);
  return rendered ? rendered->w : 0;
}

int TCanvas::TextHeight(std::string_view) {
  TTF_Font* face = OpenFont(Font);
  return face ? TTF_FontHeight(face) : 0;
}

TColor TCanvas::Pixel(int x, int y) const {
  if (!Surface || !Inside(Surface, x, y)) return clr::Black;
  std::uint8_t r, g, b;
  SDL_GetRGB(*PixelAt(Surface, x, y), Surface->format, &r, &g, &b);
  return TColor{r, g, b};
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (!Surface || !Inside(Surface, x, y)) return;
  *PixelAt(Surface, x, y) = SDL_MapRGB(Surface->format, color.R, color.G, color.B);
}

// ---- TBitmap --------------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
  if (Surf && Surf->w == width && Surf->h == height) return;
  Surf.reset();
  Canvas.SetSurface(nullptr);  // nothing dangles if the new surface cannot be made
  if (width > 0 && height > 0) {
    Surf.reset(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, PictureFormat));
    if (!Surf) throw TToolkitError(std::string("Cannot create a picture: ") + SDL_GetError());
  }
  Canvas.SetSurface(Surf.get());
}

int TBitmap::Width() const { return Surf ? Surf->w : 0; }
int TBitmap::Height() const { return Surf ? Surf->h : 0; }

TColor TBitmap::EffectiveTransparentColor() const {
  if (TransparentMode == TTransparentMode::Fixed) return TransparentColor;
  return Canvas.Pixel(0, Height() - 1);
}

std::uint32_t* TBitmap::Row(int y) { return PixelAt(Surf.get(), 0, y); }
const std::uint32_t* TBitmap::Row(int y) const { return PixelAt(Surf.get(), 0, y); }

TColor TBitmap::Unpack(std::uint32_t pixel) const {
  std::uint8_t r, g, b;
  SDL_GetRGB(pixel, Surf->format, &r, &g, &b);
  return TColor{r, g, b};
}

std::uint32_t TBitmap::Pack(TColor color) const {
  return SDL_MapRGB(Surf->format, color.R, color.G, color.B);
}

void TBitmap::AverageWith(const TBitmap& other, int width, int height) {
  const int rows = std::min({height, Height(), other.Height()});
  const int columns = std::min({width, Width(), other.Width()});
  for (int y = 0; y < rows; ++y) {
    std::uint32_t* mine = Row(y);
    const std::uint32_t* theirs = other.Row(y);
    for (int x = 0; x < columns; ++x) {
      const TColor a = Unpack(mine[x]), b = other.Unpack(theirs[x]);
      mine[x] = Pack({static_cast<std::uint8_t>((a.R + b.R) / 2),
                      static_cast<std::uint8_t>((a.G + b.G) / 2),
                      static_cast<std::uint8_t>((a.B + b.B) / 2)});
    }
  }
}

void TBitmap::Assign(const TBitmap& other) {
  SetSize(other.Width(), other.Height());
  if (!Surf) return;
  SDL_BlitSurface(other.Surf.get(), nullptr, Surf.get(), nullptr);
  Transparent = other.Transparent;
  TransparentMode = other.TransparentMode;
  TransparentColor = other.TransparentColor;
}

void TBitmap::AdoptSurface(TSurfacePtr surface) {
  // A decoder that already wrote the picture format hands its pixels over as they are.
  if (surface->format->format != PictureFormat) {
    surface.reset(SDL_ConvertSurfaceFormat(surface.get(), PictureFormat, 0));
  }
  if (!surface) throw TToolkitError(std::string("Cannot convert a picture: ") + SDL_GetError());
  Surf = std::move(surface);
  Canvas.SetSurface(Surf.get());
}

void TBitmap::LoadFromFile(const std::string& path) {
  AdoptSurface(LoadPictureFile(path, DecodeBmp));
}

}  // namespace kravelon
