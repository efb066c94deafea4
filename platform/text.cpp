// Text through fontconfig and FreeType: face lookup, a glyph cache per face and size, layout and 8-bit drawing.
#include "platform/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <unordered_map>

#include "platform/utf8.h"

namespace platform {

namespace {

constexpr int32_t kDefaultCellHeight = 16;
constexpr int32_t kMaxPixelHeight = 512;  // bigger requests are held here: a glyph stays a sane allocation
constexpr const char* kSystemFace = "Liberation Sans";
constexpr char32_t kReplacement = 0xFFFD;

struct FtLibrary {
  FT_Library lib = nullptr;
  FtLibrary() {
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
  }
  ~FtLibrary() {
    if (lib != nullptr) FT_Done_FreeType(lib);
  }
  FtLibrary(const FtLibrary&) = delete;
  FtLibrary& operator=(const FtLibrary&) = delete;
};

// One rendered glyph: ink is width * rows bytes, 1 where the glyph has a pixel.
struct Glyph {
  int32_t left = 0;  // from the pen to the bitmap's left column
  int32_t top = 0;   // from the baseline up to the bitmap's top row
  int32_t width = 0;
  int32_t rows = 0;
  int32_t advance = 0;
  std::vector<uint8_t> ink;
};

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }
bool IsBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

// Faces the game's platform named, and the fonts-liberation face that stands in for each.
const char* StandIn(const std::string& lowerFace) {
  static const std::map<std::string, const char*> kStandIns = {
      {"times", "Liberation Serif"},         {"times new roman", "Liberation Serif"},
      {"tms rmn", "Liberation Serif"},       {"serif", "Liberation Serif"},
      {"", kSystemFace},                     {"system", kSystemFace},
      {"ms sans serif", kSystemFace},        {"ms shell dlg", kSystemFace},
      {"arial", kSystemFace},                {"helvetica", kSystemFace},
      {"sans", kSystemFace},                 {"sans-serif", kSystemFace},
      {"courier", "Liberation Mono"},        {"courier new", "Liberation Mono"},
      {"monospace", "Liberation Mono"},      {"fixedsys", "Liberation Mono"},
  };
  auto it = kStandIns.find(lowerFace);
  return it != kStandIns.end() ? it->second : nullptr;
}

}  // namespace

// One face file at one size, with its glyphs as they have been asked for.
class FontFace {
 public:
  static std::shared_ptr<FontFace> Open(const std::shared_ptr<FtLibrary>& library, const std::string& file,
                                        int index, int32_t emPixels, int32_t cellHeight, bool embolden,
                                        bool oblique);
  ~FontFace() {
    if (face_ != nullptr) FT_Done_Face(face_);
  }
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const Glyph& Get(char32_t c);
  // Advance of one character at pen position x (tabs go to the next stop when expanding).
  int32_t Advance(char32_t c, int32_t x, bool expandTabs) {
    if (c == U'\t') {
      if (!expandTabs) return Get(U' ').advance;
      const int32_t stop = std::max(1, 8 * metrics.aveCharWidth);
      return (x / stop + 1) * stop - x;
    }
    if (c < 0x20 || c == 0x7F) return 0;
    return Get(c).advance;
  }

  std::string file;
  int32_t emPixels = 0;
  TextMetrics metrics;
  int32_t underlineOffset = 0;  // below the baseline
  int32_t strikeOffset = 0;     // above the baseline
  int32_t lineThickness = 1;

 private:
  FontFace() = default;
  Glyph Render(FT_UInt index) const;

  std::shared_ptr<FtLibrary> library_;
  FT_Face face_ = nullptr;
  bool embolden_ = false;
  bool oblique_ = false;
  std::unordered_map<char32_t, Glyph> glyphs_;
};

namespace {

struct FaceMatch {
  bool found = false;
  std::string file;
  int index = 0;
  int weight = FC_WEIGHT_REGULAR;
  int slant = FC_SLANT_ROMAN;
};

// The process's fonts: fontconfig's configuration, the matches and open faces, what has been reported.
class TextSystem {
 public:
  ~TextSystem() { Reset(); }

  void Reset() {
    systemFont_.reset();
    faces_.clear();
    matches_.clear();
    reported_.clear();
    library_.reset();
    if (config_ != nullptr) {
      FcConfigDestroy(config_);
      config_ = nullptr;
      // Drops fontconfig's own caches, so a later configuration is read afresh and leak checks stay quiet.
      FcFini();
    }
    initTried_ = false;
  }

  std::shared_ptr<FontFace> FaceFor(const LogFont& lf) {
    if (!Init()) {
      Report(lf.faceName, "fontconfig or FreeType could not be started");
      return nullptr;
    }
    const int32_t weight = lf.weight <= 0 ? FW_NORMAL : std::clamp(lf.weight, 1, 1000);
    const FaceMatch& match = Match(lf.faceName, weight, lf.italic);
    if (!match.found) {
      Report(lf.faceName, "fontconfig found no face for it");
      return nullptr;
    }
    int32_t cell = 0;
    int32_t em = 0;
    if (!EmFor(match, lf.height, &em, &cell)) {
      Report(lf.faceName, "its face file " + match.file + " cannot be read");
      return nullptr;
    }
    // Synthesise what the face file lacks: bold from 600 up, a slant for italics.
    const bool embolden = weight >= 600 && match.weight < FC_WEIGHT_DEMIBOLD;
    const bool oblique = lf.italic && match.slant == FC_SLANT_ROMAN;
    auto face = OpenFace(match.file, match.index, em, cell, embolden, oblique);
    if (face == nullptr) Report(lf.faceName, "its face file " + match.file + " cannot be read");
    return face;
  }

  // A face with the character, for one the requested face lacks (null when no font has it).
  std::shared_ptr<FontFace> FallbackFor(char32_t c, int32_t emPixels) {
    if (!Init()) return nullptr;
    FcPattern* pattern = FcPatternCreate();
    FcCharSet* set = FcCharSetCreate();
    FcCharSetAddChar(set, c);
    FcPatternAddCharSet(pattern, FC_CHARSET, set);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config_, pattern, &result);
    std::shared_ptr<FontFace> face;
    if (found != nullptr) {
      FcCharSet* has = nullptr;
      FcChar8* file = nullptr;
      int index = 0;
      if (FcPatternGetCharSet(found, FC_CHARSET, 0, &has) == FcResultMatch && FcCharSetHasChar(has, c) &&
          FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(found, FC_INDEX, 0, &index);
        face = OpenFace(reinterpret_cast<const char*>(file), index, emPixels, 0, false, false);
      }
      FcPatternDestroy(found);
    }
    FcCharSetDestroy(set);
    FcPatternDestroy(pattern);
    return face;
  }

  Font* SystemFont() {
    if (systemFont_ == nullptr) {
      LogFont lf;
      lf.height = kDefaultCellHeight;
      lf.faceName = kSystemFace;
      systemFont_ = CreateFontIndirect(lf);
    }
    return systemFont_.get();
  }

 private:
  bool Init() {
    if (initTried_) return config_ != nullptr && library_ != nullptr && library_->lib != nullptr;
    initTried_ = true;
    library_ = std::make_shared<FtLibrary>();
    config_ = FcInitLoadConfigAndFonts();
    return config_ != nullptr && library_->lib != nullptr;
  }

  void Report(const std::string& faceName, const std::string& why) {
    if (!reported_.insert(Lower(faceName)).second) return;
    std::fprintf(stderr, "brushfeather: no font for \"%s\" (%s); text in it is not drawn\n", faceName.c_str(),
                 why.c_str());
  }

  const FaceMatch& Match(const std::string& faceName, int32_t weight, bool italic) {
    const std::string lower = Lower(faceName);
    const std::string key = lower + "|" + std::to_string(weight) + "|" + (italic ? "i" : "r");
    auto it = matches_.find(key);
    if (it != matches_.end()) return it->second;
    FaceMatch match;
    FcPattern* pattern = FcPatternCreate();
    // The stand-in goes first: fontconfig's own aliases would otherwise send "Times" to whatever
    // Times-like face the machine has (Nimbus Roman with the Ghostscript fonts), and the game would
    // look different from one machine to the next.
    const char* standIn = StandIn(lower);
    if (standIn != nullptr) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(standIn));
    if (!faceName.empty() && (standIn == nullptr || lower != Lower(standIn))) {
      FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName.c_str()));
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config_, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* found = FcFontMatch(config_, pattern, &result);
    if (found != nullptr) {
      FcChar8* file = nullptr;
      if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
        match.found = true;
        match.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found, FC_INDEX, 0, &match.index);
        FcPatternGetInteger(found, FC_WEIGHT, 0, &match.weight);
        FcPatternGetInteger(found, FC_SLANT, 0, &match.slant);
      }
      FcPatternDestroy(found);
    }
    FcPatternDestroy(pattern);
    return matches_.emplace(key, match).first->second;
  }

  // The em size in pixels for a requested height: a positive height is the cell (ascent + descent, from
  // the face's Windows metrics where it has them), a negative one the em itself.
  bool EmFor(const FaceMatch& match, int32_t height, int32_t* em, int32_t* cell) {
    if (height == 0) height = kDefaultCellHeight;
    if (height < 0) {
      *em = std::clamp(-height, 1, kMaxPixelHeight);
      *cell = 0;
      return true;
    }
    *cell = std::clamp(height, 1, kMaxPixelHeight);
    FT_Face face = nullptr;
    if (FT_New_Face(library_->lib, match.file.c_str(), match.index, &face) != 0) return false;
    int32_t units = face->ascender - face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      units = os2->usWinAscent + os2->usWinDescent;
    }
    const int32_t upem = face->units_per_EM > 0 ? face->units_per_EM : units;
    FT_Done_Face(face);
    if (units <= 0) units = upem > 0 ? upem : 1;
    *em = std::clamp(static_cast<int32_t>(std::lround(static_cast<double>(*cell) * upem / units)), 1, kMaxPixelHeight);
    return true;
  }

  std::shared_ptr<FontFace> OpenFace(const std::string& file, int index, int32_t em, int32_t cell, bool embolden,
                                     bool oblique) {
    const std::string key = file + "|" + std::to_string(index) + "|" + std::to_string(em) + "|" +
                            std::to_string(cell) + "|" + (embolden ? "b" : "") + (oblique ? "o" : "");
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    auto face = FontFace::Open(library_, file, index, em, cell, embolden, oblique);
    if (face != nullptr) {
      if (faces_.size() >= 64) faces_.clear();  // fonts in use keep their faces; the cache only forgets them
      faces_.emplace(key, face);
    }
    return face;
  }

  bool initTried_ = false;
  FcConfig* config_ = nullptr;
  std::shared_ptr<FtLibrary> library_;
  std::map<std::string, FaceMatch> matches_;
  std::map<std::string, std::shared_ptr<FontFace>> faces_;
  std::set<std::string> reported_;
  std::unique_ptr<Font> systemFont_;
};

TextSystem& Text() {
  static TextSystem system;
  return system;
}

}  // namespace

// --- FontFace ---

std::shared_ptr<FontFace> FontFace::Open(const std::shared_ptr<FtLibrary>& library, const std::string& file,
                                         int index, int32_t emPixels, int32_t cellHeight, bool embolden,
                                         bool oblique) {
  if (library == nullptr || library->lib == nullptr) return nullptr;
  std::shared_ptr<FontFace> f(new FontFace());
  f->library_ = library;
  if (FT_New_Face(library->lib, file.c_str(), index, &f->face_) != 0) {
    f->face_ = nullptr;
    return nullptr;
  }
  FT_Face face = f->face_;
  if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(emPixels)) != 0) return nullptr;
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  f->file = file;
  f->emPixels = emPixels;
  f->embolden_ = embolden;
  f->oblique_ = oblique;

  int32_t ascUnits = face->ascender;
  int32_t descUnits = -face->descender;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascUnits = os2->usWinAscent;
    descUnits = os2->usWinDescent;
  }
  const double scale = face->units_per_EM > 0 ? static_cast<double>(emPixels) / face->units_per_EM : 1.0;
  int32_t ascent = static_cast<int32_t>(std::lround(ascUnits * scale));
  int32_t descent = static_cast<int32_t>(std::lround(descUnits * scale));
  if (cellHeight > 0) {
    // The cell asked for is the line height; the ascent keeps the face's share of it.
    ascent = std::clamp(ascent, 1, cellHeight);
    descent = cellHeight - ascent;
  }
  f->metrics.ascent = ascent;
  f->metrics.descent = std::max(0, descent);
  f->metrics.height = f->metrics.ascent + f->metrics.descent;
  f->metrics.aveCharWidth = std::max(1, f->Get(U'x').advance);
  f->metrics.maxCharWidth = std::max<int32_t>(
      f->metrics.aveCharWidth, static_cast<int32_t>(std::lround(face->max_advance_width * scale)));
  f->lineThickness = std::max<int32_t>(1, static_cast<int32_t>(std::lround(face->underline_thickness * scale)));
  f->underlineOffset = std::clamp<int32_t>(static_cast<int32_t>(std::lround(-face->underline_position * scale)), 1,
                                           std::max(1, f->metrics.descent));
  f->strikeOffset = std::max(1, ascent / 3);
  return f;
}

Glyph FontFace::Render(FT_UInt index) const {
  Glyph g;
  if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return g;
  FT_GlyphSlot slot = face_->glyph;
  if (oblique_) FT_GlyphSlot_Oblique(slot);
  if (embolden_) FT_GlyphSlot_Embolden(slot);
  g.advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  const int32_t w = static_cast<int32_t>(bm.width);
  const int32_t h = static_cast<int32_t>(bm.rows);
  if (w <= 0 || h <= 0 || bm.buffer == nullptr || static_cast<int64_t>(w) * h > (int64_t{1} << 22)) return g;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = w;
  g.rows = h;
  g.ink.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  const int pitch = bm.pitch;
  for (int32_t y = 0; y < h; ++y) {
    const unsigned char* row = pitch >= 0 ? bm.buffer + static_cast<ptrdiff_t>(y) * pitch
                                          : bm.buffer + static_cast<ptrdiff_t>(h - 1 - y) * -pitch;
    for (int32_t x = 0; x < w; ++x) {
      bool on = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] & (0x80 >> (x & 7))) != 0
                                                     : bm.pixel_mode == FT_PIXEL_MODE_GRAY && row[x] >= 128;
      g.ink[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] = on ? 1 : 0;
    }
  }
  return g;
}

const Glyph& FontFace::Get(char32_t c) {
  auto it = glyphs_.find(c);
  if (it != glyphs_.end()) return it->second;
  char32_t shown = (IsStrayByte(c) || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) ? kReplacement : c;
  FT_UInt index = FT_Get_Char_Index(face_, shown);
  Glyph g;
  static bool lookingElsewhere = false;
  if (index == 0 && shown >= 0x80 && !lookingElsewhere) {
    // Another installed face may have it (as the original's font linking did).
    lookingElsewhere = true;
    auto other = Text().FallbackFor(shown, emPixels);
    if (other != nullptr && other.get() != this) g = other->Get(shown);
    lookingElsewhere = false;
    if (other != nullptr && other.get() != this) return glyphs_.emplace(c, std::move(g)).first->second;
  }
  g = Render(index);
  return glyphs_.emplace(c, std::move(g)).first->second;
}

// --- Font ---

Font::Font(const LogFont& logFont, std::shared_ptr<FontFace> face) : logFont_(logFont), face_(std::move(face)) {}
Font::~Font() = default;

const std::string& Font::FilePath() const {
  static const std::string kNone;
  return face_ != nullptr ? face_->file : kNone;
}

TextMetrics Font::Metrics() const { return face_ != nullptr ? face_->metrics : TextMetrics{}; }

std::unique_ptr<Font> CreateFontIndirect(const LogFont& logFont) {
  return std::unique_ptr<Font>(new Font(logFont, Text().FaceFor(logFont)));
}

std::unique_ptr<Font> CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation,
                                 int32_t weight, bool italic, bool underline, bool strikeOut, uint32_t charSet,
                                 uint32_t outPrecision, uint32_t clipPrecision, uint32_t quality,
                                 uint32_t pitchAndFamily, const std::string& faceName) {
  LogFont lf;
  lf.height = height;
  lf.width = width;
  lf.escapement = escapement;
  lf.orientation = orientation;
  lf.weight = weight;
  lf.italic = italic;
  lf.underline = underline;
  lf.strikeOut = strikeOut;
  lf.charSet = charSet;
  lf.outPrecision = outPrecision;
  lf.clipPrecision = clipPrecision;
  lf.quality = quality;
  lf.pitchAndFamily = pitchAndFamily;
  lf.faceName = faceName;
  return CreateFontIndirect(lf);
}

Font* GetSystemFont() { return Text().SystemFont(); }

void ResetTextForTest() { Text().Reset(); }

// --- drawing ---

// Everything that reaches into a font's face for layout and drawing.
class TextRenderer {
 public:
  static FontFace* FaceOf(const Font* font) {
    if (font == nullptr) font = GetSystemFont();
    return font != nullptr ? font->face_.get() : nullptr;
  }
  static const LogFont* LogFontOf(const Font* font) {
    if (font == nullptr) font = GetSystemFont();
    return font != nullptr ? &font->logFont_ : nullptr;
  }
};

namespace {

// What one drawing call writes into: the context's memory, clipped.
struct Target {
  uint8_t* bits = nullptr;
  int32_t pitch = 0;
  Rect clip;
};

bool MakeTarget(const DeviceContext* dc, const Rect* clipTo, Target* t) {
  if (dc == nullptr || dc->bits == nullptr || dc->width <= 0 || dc->height <= 0 || dc->pitch < dc->width) return false;
  t->bits = dc->bits;
  t->pitch = dc->pitch;
  t->clip = Rect{0, 0, dc->width, dc->height};
  if (clipTo != nullptr && !IntersectRect(&t->clip, t->clip, *clipTo)) return false;
  return !t->clip.IsEmpty();
}

void FillRect(const Target& t, Rect r, uint8_t index) {
  if (!IntersectRect(&r, r, t.clip)) return;
  for (int32_t y = r.top; y < r.bottom; ++y) {
    std::fill_n(t.bits + static_cast<ptrdiff_t>(y) * t.pitch + r.left, r.Width(), index);
  }
}

void DrawGlyph(const Target& t, const Glyph& g, int32_t penX, int32_t baseline, uint8_t index) {
  if (g.ink.empty()) return;
  const int32_t x0 = penX + g.left;
  const int32_t y0 = baseline - g.top;
  const int32_t xs = std::max(x0, t.clip.left), xe = std::min(x0 + g.width, t.clip.right);
  const int32_t ys = std::max(y0, t.clip.top), ye = std::min(y0 + g.rows, t.clip.bottom);
  for (int32_t y = ys; y < ye; ++y) {
    const uint8_t* ink = g.ink.data() + static_cast<size_t>(y - y0) * static_cast<size_t>(g.width);
    uint8_t* out = t.bits + static_cast<ptrdiff_t>(y) * t.pitch;
    for (int32_t x = xs; x < xe; ++x) {
      if (ink[x - x0] != 0) out[x] = index;
    }
  }
}

// Draws chars [begin, end) of one line with its pen starting at x and the cell's top at y; returns the width.
int32_t DrawRun(const Target& t, FontFace& face, const LogFont& lf, const std::u32string& text, size_t begin,
                size_t end, int32_t x, int32_t y, bool expandTabs, uint8_t index) {
  const int32_t baseline = y + face.metrics.ascent;
  int32_t pen = 0;
  for (size_t i = begin; i < end; ++i) {
    const char32_t c = text[i];
    if (x + pen >= t.clip.right) {
      pen += face.Advance(c, pen, expandTabs);  // still measured: the underline and the caller need it
      continue;
    }
    if (c >= 0x20 && c != 0x7F && !IsBlank(c)) DrawGlyph(t, face.Get(c), x + pen, baseline, index);
    pen += face.Advance(c, pen, expandTabs);
  }
  if (lf.underline) {
    FillRect(t, Rect{x, baseline + face.underlineOffset, x + pen, baseline + face.underlineOffset + face.lineThickness},
             index);
  }
  if (lf.strikeOut) {
    FillRect(t, Rect{x, baseline - face.strikeOffset, x + pen, baseline - face.strikeOffset + face.lineThickness},
             index);
  }
  return pen;
}

int32_t RunWidth(FontFace& face, const std::u32string& text, size_t begin, size_t end, bool expandTabs) {
  int32_t pen = 0;
  for (size_t i = begin; i < end; ++i) pen += face.Advance(text[i], pen, expandTabs);
  return pen;
}

struct Line {
  size_t begin = 0;
  size_t end = 0;  // trailing blanks excluded
  int32_t width = 0;
};

// Breaks one paragraph (no CR or LF inside) into lines no wider than maxWidth where words allow.
void WrapParagraph(FontFace& face, const std::u32string& text, size_t begin, size_t end, int32_t maxWidth,
                   bool expandTabs, std::vector<Line>* lines) {
  size_t start = begin;
  do {
    int32_t pen = 0;
    bool haveBreak = false;
    size_t breakEnd = start;     // end of the line when it breaks at the last blank run
    size_t breakNext = start;    // where the next line starts then
    int32_t breakWidth = 0;
    size_t i = start;
    bool broke = false;
    while (i < end) {
      if (IsBlank(text[i])) {
        const size_t blanksFrom = i;
        const int32_t before = pen;
        while (i < end && IsBlank(text[i])) pen += face.Advance(text[i++], pen, expandTabs);
        if (blanksFrom > start) {
          haveBreak = true;
          breakEnd = blanksFrom;
          breakNext = i;
          breakWidth = before;
        }
        continue;
      }
      const int32_t w = face.Advance(text[i], pen, expandTabs);
      if (pen + w > maxWidth && haveBreak) {
        lines->push_back(Line{start, breakEnd, breakWidth});
        start = breakNext;
        broke = true;
        break;
      }
      pen += w;
      ++i;
    }
    if (!broke) {
      size_t last = end;
      while (last > start && IsBlank(text[last - 1])) --last;
      lines->push_back(Line{start, last, RunWidth(face, text, start, last, expandTabs)});
      return;
    }
  } while (start < end);
}

std::vector<Line> Layout(FontFace& face, const std::u32string& text, uint32_t format, int32_t maxWidth) {
  const bool expandTabs = (format & DT_EXPANDTABS) != 0;
  std::vector<Line> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(Line{0, text.size(), RunWidth(face, text, 0, text.size(), expandTabs)});
    return lines;
  }
  size_t p = 0;
  for (;;) {
    size_t q = p;
    while (q < text.size() && !IsBreak(text[q])) ++q;
    if (format & DT_WORDBREAK) {
      WrapParagraph(face, text, p, q, maxWidth, expandTabs, &lines);
    } else {
      lines.push_back(Line{p, q, RunWidth(face, text, p, q, expandTabs)});
    }
    if (q >= text.size()) break;
    // CR LF is one break; a lone CR or LF is one each.
    p = (text[q] == U'\r' && q + 1 < text.size() && text[q + 1] == U'\n') ? q + 2 : q + 1;
    if (p >= text.size()) break;  // a break at the very end starts no visible line
  }
  return lines;
}

}  // namespace

Font* SelectObject(DeviceContext* dc, Font* font) {
  if (dc == nullptr) return nullptr;
  Font* old = dc->font;
  dc->font = font;
  return old;
}

COLORREF SetTextColor(DeviceContext* dc, COLORREF color) {
  if (dc == nullptr) return 0;
  COLORREF old = dc->textColor;
  dc->textColor = color & 0x00FFFFFFu;
  return old;
}

COLORREF SetBkColor(DeviceContext* dc, COLORREF color) {
  if (dc == nullptr) return 0;
  COLORREF old = dc->bkColor;
  dc->bkColor = color & 0x00FFFFFFu;
  return old;
}

int SetBkMode(DeviceContext* dc, int mode) {
  if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->bkMode;
  dc->bkMode = mode;
  return old;
}

bool GetTextMetrics(const DeviceContext* dc, TextMetrics* out) {
  if (dc == nullptr || out == nullptr) return false;
  FontFace* face = TextRenderer::FaceOf(dc->font);
  *out = face != nullptr ? face->metrics : TextMetrics{};
  return face != nullptr;
}

uint8_t NearestPaletteIndex(const Palette* palette, COLORREF color) {
  const int r = static_cast<int>(color & 0xFF), g = static_cast<int>((color >> 8) & 0xFF),
            b = static_cast<int>((color >> 16) & 0xFF);
  if (palette == nullptr) return static_cast<uint8_t>((r + g + b + 1) / 3);  // the nearest step of a grey ramp
  const auto& entries = palette->Entries();
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const Rgb& e = entries[static_cast<size_t>(i)];
    const int dr = e.r - r, dg = e.g - g, db = e.b - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  return static_cast<uint8_t>(best);
}

int32_t DrawText(DeviceContext* dc, std::string_view text, Rect* rect, uint32_t format) {
  if (dc == nullptr || rect == nullptr) return 0;
  FontFace* face = TextRenderer::FaceOf(dc->font);
  const LogFont* lf = TextRenderer::LogFontOf(dc->font);
  if (face == nullptr || lf == nullptr) return 0;
  const std::u32string chars = Utf8ToCodePoints(text);
  const std::vector<Line> lines = Layout(*face, chars, format, rect->Width());
  const int32_t lineHeight = face->metrics.height;
  const int32_t total = lineHeight * static_cast<int32_t>(std::min<size_t>(lines.size(), 1u << 20));
  if (format & DT_CALCRECT) {
    int32_t widest = 0;
    for (const Line& l : lines) widest = std::max(widest, l.width);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  int32_t y = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) y = rect->top + (rect->Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM) y = rect->bottom - lineHeight;
  }
  Target t;
  if (!MakeTarget(dc, (format & DT_NOCLIP) ? nullptr : rect, &t)) return (y - rect->top) + total;
  const uint8_t ink = NearestPaletteIndex(dc->palette, dc->textColor);
  const uint8_t paper = NearestPaletteIndex(dc->palette, dc->bkColor);
  const bool expandTabs = (format & DT_EXPANDTABS) != 0;
  int32_t lineTop = y;
  for (const Line& l : lines) {
    if (lineTop >= t.clip.bottom) break;
    if (lineTop + lineHeight > t.clip.top) {
      int32_t x = rect->left;
      if (format & DT_CENTER) x = rect->left + (rect->Width() - l.width) / 2;
      else if (format & DT_RIGHT) x = rect->right - l.width;
      if (dc->bkMode == OPAQUE) FillRect(t, Rect{x, lineTop, x + l.width, lineTop + lineHeight}, paper);
      DrawRun(t, *face, *lf, chars, l.begin, l.end, x, lineTop, expandTabs, ink);
    }
    lineTop += lineHeight;
  }
  return (y - rect->top) + total;
}

bool ExtTextOut(DeviceContext* dc, int32_t x, int32_t y, uint32_t options, const Rect* rect, std::string_view text) {
  if (dc == nullptr) return false;
  FontFace* face = TextRenderer::FaceOf(dc->font);
  const LogFont* lf = TextRenderer::LogFontOf(dc->font);
  Target t;
  if (!MakeTarget(dc, (options & ETO_CLIPPED) ? rect : nullptr, &t)) return dc->bits != nullptr;
  const uint8_t paper = NearestPaletteIndex(dc->palette, dc->bkColor);
  if ((options & ETO_OPAQUE) && rect != nullptr) FillRect(t, *rect, paper);
  if (face == nullptr || lf == nullptr) return false;
  const std::u32string chars = Utf8ToCodePoints(text);
  if (dc->bkMode == OPAQUE) {
    FillRect(t, Rect{x, y, x + RunWidth(*face, chars, 0, chars.size(), false), y + face->metrics.height}, paper);
  }
  DrawRun(t, *face, *lf, chars, 0, chars.size(), x, y, false, NearestPaletteIndex(dc->palette, dc->textColor));
  return true;
}

bool TextOut(DeviceContext* dc, int32_t x, int32_t y, std::string_view text) {
  return ExtTextOut(dc, x, y, 0, nullptr, text);
}

int32_t GetTextWidth(const Font* font, std::string_view text) {
  FontFace* face = TextRenderer::FaceOf(font);
  if (face == nullptr) return 0;
  const std::u32string chars = Utf8ToCodePoints(text);
  return RunWidth(*face, chars, 0, chars.size(), false);
}

void GetPenPositions(const Font* font, std::u32string_view text, std::vector<int32_t>* positions) {
  if (positions == nullptr) return;
  positions->assign(text.size(), 0);
  FontFace* face = TextRenderer::FaceOf(font);
  if (face == nullptr) return;
  int32_t pen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    pen += face->Advance(text[i], pen, false);
    (*positions)[i] = pen;
  }
}

}  // namespace platform
