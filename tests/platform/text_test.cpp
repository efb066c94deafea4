// Text: face lookup and sizes, glyphs in the nearest palette index only, wrapping and clipping, UTF-8, no fonts.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/surface.h"

namespace platform {
namespace {

constexpr uint8_t kPaper = 7;
const std::string kTrophyLine =
    "Field Scout shot a 23 lb. Eastern Wild Turkey in the Eastern woodlands location on March 14, 2024 at 09:41\n\r";

std::unique_ptr<Font> Times14() {
  return CreateFont(14, 0, 0, 0, FW_NORMAL, false, false, false, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, PROOF_QUALITY, DEFAULT_PITCH, "Times");
}

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<Rgb> entries(256);
    for (int i = 0; i < 256; ++i) entries[static_cast<size_t>(i)] = Rgb{static_cast<uint8_t>(i), 40, 90};
    entries[0] = Rgb{0, 0, 0};
    entries[200] = Rgb{255, 255, 0};  // yellow
    entries[201] = Rgb{250, 250, 10};  // nearly yellow: must never be picked for yellow
    palette = std::make_shared<Palette>(DDPCAPS_8BIT, entries.data());
    surface.SetPalette(palette);
    surface.Fill(nullptr, kPaper);
    ASSERT_EQ(surface.GetDC(&dc), DD_OK);
  }
  void TearDown() override {
    if (surface.IsLocked()) surface.ReleaseDC(&dc);
  }
  // Every pixel that is no longer paper, as (x, y, index).
  struct Ink {
    int x, y;
    uint8_t index;
  };
  std::vector<Ink> Inked() const {
    std::vector<Ink> out;
    for (int y = 0; y < surface.Height(); ++y) {
      for (int x = 0; x < surface.Width(); ++x) {
        if (surface.Pixel(x, y) != kPaper) out.push_back(Ink{x, y, surface.Pixel(x, y)});
      }
    }
    return out;
  }

  Surface surface{640, 120, DDSCAPS_OFFSCREENPLAIN};
  std::shared_ptr<Palette> palette;
  DeviceContext dc;
};

TEST_F(TextTest, FacesResolveToFontsLiberationAndPositiveHeightsAreTheCell) {
  auto times = Times14();
  ASSERT_TRUE(times->Available());
  EXPECT_NE(times->FilePath().find("LiberationSerif-Regular"), std::string::npos) << times->FilePath();
  EXPECT_EQ(times->Metrics().height, 14);
  ASSERT_NE(GetSystemFont(), nullptr);
  EXPECT_EQ(GetSystemFont()->Metrics().height, 16);  // fits the 17-pixel name field
}

TEST_F(TextTest, GlyphsUseOnlyTheNearestPaletteIndexAndTransparentLeavesThePaper) {
  auto font = Times14();
  SelectObject(&dc, font.get());
  SetBkMode(&dc, TRANSPARENT);
  EXPECT_EQ(SetTextColor(&dc, 0x0000FFFF), 0x000000u);  // yellow: red 255, green 255
  Rect r{10, 10, 600, 60};
  EXPECT_EQ(DrawText(&dc, "Field Scout", &r, DT_WORDBREAK), 14);
  auto ink = Inked();
  ASSERT_GT(ink.size(), 40u);
  for (const Ink& i : ink) ASSERT_EQ(i.index, 200) << "at " << i.x << "," << i.y;

  // Opaque mode fills the text's cell with the background's nearest index.
  SetBkMode(&dc, OPAQUE);
  SetBkColor(&dc, 0x00000000);
  Rect r2{10, 80, 600, 110};
  DrawText(&dc, "Field Scout", &r2, DT_SINGLELINE);
  EXPECT_EQ(surface.Pixel(11, 80), 0);
  EXPECT_EQ(surface.Pixel(11, 94), kPaper);  // below the 14-pixel cell
}

TEST_F(TextTest, WordWrapKeepsTheTrophyLineInsideItsRectangle) {
  auto font = Times14();
  SelectObject(&dc, font.get());
  SetBkMode(&dc, TRANSPARENT);
  const Rect box{175, 20, 575, 70};  // 400 x 50, as the trophy room lays its lines out
  Rect r = box;
  DrawText(&dc, kTrophyLine, &r, DT_WORDBREAK);
  std::set<int> lines;
  for (const Ink& i : Inked()) {
    ASSERT_TRUE(box.Contains(Point{i.x, i.y})) << "ink outside at " << i.x << "," << i.y;
    lines.insert((i.y - box.top) / 14);
  }
  EXPECT_EQ(lines.size(), 2u);

  // A rectangle too low for the text clips it at its bottom.
  Rect low{175, 80, 300, 100};
  DrawText(&dc, kTrophyLine, &low, DT_WORDBREAK);
  for (const Ink& i : Inked()) ASSERT_TRUE(i.y < 70 || (i.y >= 80 && i.y < 100)) << i.y;
}

TEST_F(TextTest, Utf8IsDrawnByCharacterAndStrayBytesDoNotBreakIt) {
  auto font = Times14();
  SelectObject(&dc, font.get());
  // ö is not o: the dots are drawn.
  SetBkMode(&dc, TRANSPARENT);
  Rect a{0, 0, 100, 20}, b{0, 40, 100, 60};
  DrawText(&dc, "\xC3\xB6", &a, 0);
  DrawText(&dc, "o", &b, 0);
  int inkO = 0, inkOe = 0;
  for (const Ink& i : Inked()) (i.y < 30 ? inkOe : inkO) += 1;
  EXPECT_GT(inkOe, inkO);
  // A stray byte is measured and drawn as the replacement character; nothing is read past the text.
  EXPECT_EQ(GetTextWidth(font.get(), "\xFF"), GetTextWidth(font.get(), "\xEF\xBF\xBD"));
  Rect c{0, 80, 200, 100};
  EXPECT_EQ(DrawText(&dc, std::string_view("x\xE2\x82", 3), &c, 0), 14);
}

TEST(TextWithoutFonts, NothingIsDrawnAndOneLineSaysSo) {
  const std::string conf = ::testing::TempDir() + "bf_empty_fonts.conf";
  std::ofstream(conf) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  const char* old = std::getenv("FONTCONFIG_FILE");
  const std::string saved = old != nullptr ? old : "";
  setenv("FONTCONFIG_FILE", conf.c_str(), 1);
  ResetTextForTest();

  DeviceContext dc;
  ::testing::internal::CaptureStderr();
  auto font = Times14();
  auto again = Times14();  // still one line
  SelectObject(&dc, font.get());
  Rect r{0, 0, 64, 32};
  const int32_t drawn = DrawText(&dc, "Field Scout", &r, DT_WORDBREAK);
  const std::string said = ::testing::internal::GetCapturedStderr();

  if (old != nullptr) setenv("FONTCONFIG_FILE", saved.c_str(), 1);
  else unsetenv("FONTCONFIG_FILE");
  ResetTextForTest();

  EXPECT_FALSE(font->Available());
  EXPECT_EQ(drawn, 0);
  EXPECT_NE(said.find("\"Times\""), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_TRUE(Times14()->Available());  // the fonts are back once the configuration is
}

}  // namespace
}  // namespace platform
