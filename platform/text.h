// Text on 8-bit surfaces: fonts by face name, DrawText-style layout, monochrome glyphs in one palette index.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface.h"
#include "platform/types.h"

namespace platform {

// --- font request values (those of the originals) ---
constexpr int32_t FW_DONTCARE = 0;
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_BOLD = 700;
constexpr uint32_t ANSI_CHARSET = 0;
constexpr uint32_t DEFAULT_CHARSET = 1;
constexpr uint32_t OUT_DEFAULT_PRECIS = 0;
constexpr uint32_t CLIP_DEFAULT_PRECIS = 0;
constexpr uint32_t DEFAULT_QUALITY = 0;
constexpr uint32_t PROOF_QUALITY = 2;
constexpr uint32_t DEFAULT_PITCH = 0;

// --- background modes ---
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// --- DrawText formats ---
constexpr uint32_t DT_TOP = 0x0000;
constexpr uint32_t DT_LEFT = 0x0000;
constexpr uint32_t DT_CENTER = 0x0001;
constexpr uint32_t DT_RIGHT = 0x0002;
constexpr uint32_t DT_VCENTER = 0x0004;  // single line only
constexpr uint32_t DT_BOTTOM = 0x0008;   // single line only
constexpr uint32_t DT_WORDBREAK = 0x0010;
constexpr uint32_t DT_SINGLELINE = 0x0020;
constexpr uint32_t DT_EXPANDTABS = 0x0040;
constexpr uint32_t DT_NOCLIP = 0x0100;
constexpr uint32_t DT_CALCRECT = 0x0400;
constexpr uint32_t DT_NOPREFIX = 0x0800;

// --- ExtTextOut options ---
constexpr uint32_t ETO_OPAQUE = 0x0002;
constexpr uint32_t ETO_CLIPPED = 0x0004;

// What a font is asked for (LOGFONT). Width, escapement and orientation are kept but not applied: text
// is always upright at the face's own proportions. Quality is always monochrome (256 colours).
struct LogFont {
  int32_t height = 0;  // > 0: cell height (ascent + descent) in pixels; < 0: character (em) height; 0: 16
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = FW_NORMAL;  // 100..900; FW_DONTCARE = normal
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  uint32_t charSet = DEFAULT_CHARSET;
  uint32_t outPrecision = OUT_DEFAULT_PRECIS;
  uint32_t clipPrecision = CLIP_DEFAULT_PRECIS;
  uint32_t quality = DEFAULT_QUALITY;
  uint32_t pitchAndFamily = DEFAULT_PITCH;
  std::string faceName;  // "Times", "Liberation Sans", ... empty = the system font's face
};

// The measures of a font at its size (TEXTMETRIC, the part that is used).
struct TextMetrics {
  int32_t height = 0;  // ascent + descent: the distance from one line to the next
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t aveCharWidth = 0;  // advance of 'x'
  int32_t maxCharWidth = 0;
};

class FontFace;

// A font made by CreateFont. The face file behind it is found through fontconfig ("Times" resolves to a
// metric-compatible serif, Liberation Serif from fonts-liberation) and shared by every font asking for
// the same face at the same size. When no face can be found the font is unavailable: it measures and
// draws nothing, and the first such font of a face name says so once on standard error.
class Font {
 public:
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const LogFont& GetLogFont() const { return logFont_; }
  bool Available() const { return face_ != nullptr; }
  const std::string& FilePath() const;  // the face file in use; empty when unavailable
  TextMetrics Metrics() const;          // all 0 when unavailable

 private:
  friend std::unique_ptr<Font> CreateFontIndirect(const LogFont& logFont);
  friend class TextRenderer;
  Font(const LogFont& logFont, std::shared_ptr<FontFace> face);
  LogFont logFont_;
  std::shared_ptr<FontFace> face_;
};

// CreateFont / CreateFontIndirect. Never null.
std::unique_ptr<Font> CreateFontIndirect(const LogFont& logFont);
std::unique_ptr<Font> CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation,
                                 int32_t weight, bool italic, bool underline, bool strikeOut, uint32_t charSet,
                                 uint32_t outPrecision, uint32_t clipPrecision, uint32_t quality,
                                 uint32_t pitchAndFamily, const std::string& faceName);
// The system font (a sans from fonts-liberation, cell height 16): what a context without a selected
// font draws with, and the edit field's font. Lives for the program's lifetime.
Font* GetSystemFont();

// --- the drawing state of a context (the fields of DeviceContext, set as GDI sets them) ---
Font* SelectObject(DeviceContext* dc, Font* font);  // returns the font selected before (null = system)
COLORREF SetTextColor(DeviceContext* dc, COLORREF color);  // returns the previous colour
COLORREF SetBkColor(DeviceContext* dc, COLORREF color);
int SetBkMode(DeviceContext* dc, int mode);  // TRANSPARENT or OPAQUE; returns the previous mode, 0 if bad
bool GetTextMetrics(const DeviceContext* dc, TextMetrics* out);

// The palette index a colour is drawn with on this context: the nearest entry of the context's palette
// (squared RGB distance, lowest index on ties), or of a grey ramp when the surface has no palette.
uint8_t NearestPaletteIndex(const Palette* palette, COLORREF color);

// DrawText: UTF-8 text in a rectangle with the context's font, text colour and background mode. Lines
// break at CR, LF and CR LF (except DT_SINGLELINE), and with DT_WORDBREAK between words where a word would
// pass the right edge (a word longer than the line is not split). '&' is shown as it is. Drawing is clipped
// to the rectangle (unless DT_NOCLIP) and always to the surface. DT_CALCRECT draws nothing and sets the
// rectangle's right and bottom to bound the text. Returns the height of the text, 0 on failure.
int32_t DrawText(DeviceContext* dc, std::string_view text, Rect* rect, uint32_t format);
// One line at (x, y), y the top of the character cell. ETO_OPAQUE fills `rect` (when given) with the
// background colour first; ETO_CLIPPED clips to `rect`. In OPAQUE mode the text's own cell is filled.
bool ExtTextOut(DeviceContext* dc, int32_t x, int32_t y, uint32_t options, const Rect* rect, std::string_view text);
bool TextOut(DeviceContext* dc, int32_t x, int32_t y, std::string_view text);

// Widths in pixels with a font (null = the system font), for layout and hit testing: the width of a
// line of text, and the pen position after each character (positions->size() == text.size(), the last
// one the width of the whole line).
int32_t GetTextWidth(const Font* font, std::string_view text);
void GetPenPositions(const Font* font, std::u32string_view text, std::vector<int32_t>* positions);

// Forgets every face, match and report, so the next font is looked up again (with fontconfig's
// environment as it is then: FONTCONFIG_FILE pointing at an empty configuration means no fonts).
void ResetTextForTest();

}  // namespace platform
