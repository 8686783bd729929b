#include "Toolkit/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <list>
#include <map>
#include <tuple>

#include "Toolkit/SdlPtr.h"

namespace kravelon {

namespace {

struct TCandidate {
  const char* Family;
  bool ForceBold;  // the role is a heavy face: take the free face's bold weight
};

std::vector<TCandidate> CandidatesFor(const std::string& faceName) {
  auto is = [&](const char* name) { return strcasecmp(faceName.c_str(), name) == 0; };
  if (is("IMPACT")) {
    return {{"Impact", false}, {"PT Sans Narrow", true}, {"DejaVu Sans Condensed", true}};
  }
  if (is("Arial")) return {{"Arial", false}, {"Liberation Sans", false}, {"DejaVu Sans", false}};
  if (is("MS Sans Serif")) return {{"PT Sans", false}, {"DejaVu Sans", false}};
  if (is("Courier New")) {
    return {{"Courier New", false}, {"Liberation Mono", false}, {"DejaVu Sans Mono", false}};
  }
  // The symbol face's letters stand for pictures: DejaVu Sans has the ones the game uses.
  if (is("Webdings")) return {{"DejaVu Sans", false}};
  return {{faceName.c_str(), false}, {"DejaVu Sans", false}};
}

bool FamilyMatches(FcPattern* match, const char* wanted) {
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(family), wanted) == 0) return true;
  }
  return false;
}

struct TFoundFace {
  std::string File;
  bool IsBold = false;
};

// fontconfig answers every query with its best guess; a guess of another family is refused, since
// a loose match can be a symbol face with no Cyrillic.
TFoundFace FindFamily(const char* family, bool bold) {
  if (!FcInit()) return {};  // loads the configuration once; later calls return at once
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  TFoundFace found;
  if (match && FamilyMatches(match, family)) {
    FcChar8* file = nullptr;
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
      found.File = reinterpret_cast<const char*>(file);
    }
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    found.IsBold = weight >= FC_WEIGHT_DEMIBOLD;
  }
  if (match) FcPatternDestroy(match);
  return found;
}

// Null where no face could be loaded, so that the search is not repeated.
std::map<std::tuple<std::string, int, bool>, TFontPtr>& OpenFonts() {
  static std::map<std::tuple<std::string, int, bool>, TFontPtr> fonts;
  return fonts;
}

}  // namespace

std::string ShownText(const TFont& font, std::string_view text) {
  if (strcasecmp(font.Name.c_str(), "Webdings") == 0 && text == "a") return "\u2713";  // tick
  return std::string(text);
}

std::vector<std::string> FontCandidates(const std::string& faceName) {
  std::vector<std::string> families;
  for (const TCandidate& c : CandidatesFor(faceName)) families.emplace_back(c.Family);
  return families;
}

std::string FindFontFile(const std::string& faceName, bool bold) {
  for (const TCandidate& c : CandidatesFor(faceName)) {
    TFoundFace face = FindFamily(c.Family, bold || c.ForceBold);
    if (!face.File.empty()) return face.File;
  }
  return {};
}

TTF_Font* OpenFont(const TFont& font) {
  if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
  const bool bold = font.Style == TFontStyle::Bold;
  const int pixels = PointsToPixels(font.Size);
  auto key = std::make_tuple(font.Name, pixels, bold);
  auto& fonts = OpenFonts();
  if (auto it = fonts.find(key); it != fonts.end()) return it->second.get();

  TFontPtr open;
  for (const TCandidate& c : CandidatesFor(font.Name)) {
    const bool wantBold = bold || c.ForceBold;
    TFoundFace face = FindFamily(c.Family, wantBold);
    if (face.File.empty()) continue;
    open.reset(TTF_OpenFont(face.File.c_str(), pixels));
    if (!open) continue;
    // A family without a bold file gets its letters emboldened instead.
    if (wantBold && !face.IsBold) TTF_SetFontStyle(open.get(), TTF_STYLE_BOLD);
    break;
  }
  return fonts.emplace(key, std::move(open)).first->second.get();
}

namespace {

struct TTextKey {
  TFont Font;
  std::string Text;
  bool operator<(const TTextKey& other) const {
    return std::tie(Font.Name, Font.Size, Font.Style, Font.Color.R, Font.Color.G, Font.Color.B,
                     Text) < std::tie(other.Font.Name, other.Font.Size, other.Font.Style,
                                      other.Font.Color.R, other.Font.Color.G, other.Font.Color.B,
                                      other.Text);
  }
};

// Least recently used first out: what one screen shows (five console lines, the status line,
// captions, a menu's items in two colours) is drawn again every frame and stays, while lines that
// have scrolled away make room. A long run's log does not pile up here.
struct TTextEntry {
  TTextKey Key;
  TSurfacePtr Surface;
};

struct TTextCache {
  std::list<TTextEntry> Recent;  // most recently drawn first
  std::map<TTextKey, std::list<TTextEntry>::iterator> Index;
};

TTextCache& TextCache() {
  static TTextCache cache;
  return cache;
}

void ClearTextCache() {
  TTextCache& cache = TextCache();
  cache.Recent.clear();
  cache.Index.clear();
}

}  // namespace

SDL_Surface* RenderText(const TFont& font, std::string_view text) {
  if (text.empty()) return nullptr;
  TTextKey key{font, ShownText(font, text)};
  TTextCache& cache = TextCache();
  if (auto it = cache.Index.find(key); it != cache.Index.end()) {
    cache.Recent.splice(cache.Recent.begin(), cache.Recent, it->second);
    return it->second->Surface.get();
  }
  TTF_Font* face = OpenFont(font);
  if (!face) return nullptr;
  SDL_Color color{font.Color.R, font.Color.G, font.Color.B, 255};
  TSurfacePtr surface(TTF_RenderUTF8_Blended(face, key.Text.c_str(), color));
  if (!surface) return nullptr;
  if (cache.Recent.size() >= TextCacheCapacity) {
    cache.Index.erase(cache.Recent.back().Key);
    cache.Recent.pop_back();
  }
  cache.Recent.push_front({key, std::move(surface)});
  cache.Index.emplace(std::move(key), cache.Recent.begin());
  return cache.Recent.front().Surface.get();
}

std::size_t CachedTextCount() { return TextCache().Recent.size(); }

void ReleaseFonts() {
  ClearTextCache();
  FcFini();
  OpenFonts().clear();
}

}  // namespace kravelon
