// The font engine: which files the face names resolve to, cell sizes, and what drawing touches.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/font_engine.h"
#include "platform/text.h"

namespace {

using ce::RECT;
using ce::fonts::Font;
using ce::fonts::FontSpec;

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kGuard = 0xA5A5;

// A surface inside a larger buffer whose frame of guard pixels must never change.
class Canvas {
 public:
  Canvas(int32_t width, int32_t height, uint16_t fill = kWhite)
      : width_(width),
        height_(height),
        pitch_(width + 2 * kFrame),
        buffer_(static_cast<size_t>(pitch_) * (height + 2 * kFrame), kGuard) {
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) at(x, y) = fill;
  }
  ce::fonts::Surface surface() {
    return {&at(0, 0), width_, height_, static_cast<int32_t>(pitch_ * sizeof(uint16_t))};
  }
  RECT all() const { return {0, 0, width_, height_}; }
  uint16_t& at(int32_t x, int32_t y) { return buffer_[(y + kFrame) * pitch_ + x + kFrame]; }
  bool FrameIntact() {
    for (int32_t y = -kFrame; y < height_ + kFrame; ++y)
      for (int32_t x = -kFrame; x < width_ + kFrame; ++x)
        if (!all().Contains(x, y) && at(x, y) != kGuard) return false;
    return true;
  }
  // The smallest rectangle holding every pixel that is no longer `background`.
  RECT Ink(uint16_t background = kWhite) {
    RECT ink{};
    for (int32_t y = 0; y < height_; ++y)
      for (int32_t x = 0; x < width_; ++x)
        if (at(x, y) != background) ink = ce::Union(ink, RECT{x, y, x + 1, y + 1});
    return ink;
  }

 private:
  static constexpr int32_t kFrame = 4;
  int32_t width_, height_, pitch_;
  std::vector<uint16_t> buffer_;
};

std::unique_ptr<Font> Open(std::u16string face, int32_t height, int32_t weight = 400,
                           int32_t escapement = 0) {
  auto font = Font::Open({std::move(face), height, weight, false, escapement});
  EXPECT_NE(font, nullptr);
  return font;
}

std::string FamilyOf(const std::string& file) {
  int count = 0;
  FcPattern* pattern =
      FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file.c_str()), 0, nullptr, &count);
  FcChar8* family = nullptr;
  std::string name;
  if (pattern && FcPatternGetString(pattern, FC_FAMILY, 0, &family) == FcResultMatch)
    name = reinterpret_cast<const char*>(family);
  if (pattern) FcPatternDestroy(pattern);
  return name;
}

// Asks a configuration of our own: fontconfig's default one is never freed and would show up
// as a leak under the sanitizers.
bool FamilyInstalled(const char* family) {
  FcConfig* config = FcInitLoadConfigAndFonts();
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcObjectSet* objects = FcObjectSetBuild(FC_FILE, nullptr);
  FcFontSet* set = FcFontList(config, pattern, objects);
  const bool found = set && set->nfont > 0;
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return found;
}

TEST(FontResolution, FaceNamesFollowTheirFallbacks) {
  const bool tahoma =
      FamilyInstalled("Tahoma") || std::filesystem::exists("/usr/share/wine/fonts/tahoma.ttf");
  auto regular = Open(u"Tahoma", 13);
  auto bold = Open(u"Tahoma", 13, 700);
  EXPECT_TRUE(std::filesystem::exists(regular->File()));
  EXPECT_EQ(FamilyOf(regular->File()), tahoma ? "Tahoma" : "DejaVu Sans");
  EXPECT_EQ(FamilyOf(bold->File()), FamilyOf(regular->File()));
  EXPECT_NE(bold->File(), regular->File());  // both families have a real bold face

  auto fixed = Open(u"Courier New", 16, 700);
  EXPECT_EQ(FamilyOf(fixed->File()),
            FamilyInstalled("Liberation Mono") ? "Liberation Mono" : "DejaVu Sans Mono");

  for (const char16_t* name : {u"System", u"", u" tahoma", u"No Such Face At All"})
    EXPECT_EQ(Open(name, 13)->File(), regular->File()) << ce::ToUtf8(name);
}

TEST(FontMetrics, PositiveHeightsAreCellsAndNegativeOnesAreEms) {
  for (const auto& [face, height] : std::vector<std::pair<std::u16string, int32_t>>{
           {u"Tahoma", 16}, {u"Tahoma", 13}, {u"Tahoma", 18}, {u"Courier New", 16}}) {
    auto font = Open(face, height, 700);
    EXPECT_EQ(font->CellHeight(), height);
    EXPECT_EQ(font->Ascent() + font->Descent(), height);
    EXPECT_GT(font->InternalLeading(), 0);
    EXPECT_LE(font->AverageWidth(), font->MaxWidth());
  }
  EXPECT_EQ(Open(u"Tahoma", 0)->CellHeight(), 12);
  auto em = Open(u"Tahoma", -11);
  EXPECT_EQ(em->CellHeight() - em->InternalLeading(), 11);
  EXPECT_GT(em->CellHeight(), 11);
  // Absurd heights are bounded, not trusted.
  for (int32_t height : {INT_MIN, INT_MAX, -100000}) {
    auto font = Open(u"Tahoma", height);
    EXPECT_GT(font->CellHeight(), 0);
    EXPECT_LE(font->CellHeight(), 4096);
  }
}

TEST(FontDraw, InkStaysInTheCellAndTheAdvance) {
  for (const auto& [face, height, weight] :
       std::vector<std::tuple<std::u16string, int32_t, int32_t>>{
           {u"Tahoma", 16, 700}, {u"Tahoma", 13, 100}, {u"Courier New", 16, 700}}) {
    auto font = Open(face, height, weight);
    Canvas canvas(240, 40);
    const RECT clip[] = {canvas.all()};
    const std::u16string text = u"Cycle 28 days, gjpqy|";
    font->Draw(canvas.surface(), clip, 10, 12, text, 0x0000);
    const RECT ink = canvas.Ink();
    EXPECT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + font->Advance(text));
    EXPECT_GT(ink.right, 10 + font->Advance(text) * 9 / 10);
    EXPECT_GE(ink.top, 12);
    EXPECT_LE(ink.bottom, 12 + font->CellHeight());
    EXPECT_TRUE(canvas.FrameIntact());
  }
}

TEST(FontDraw, TurnedTextIsTheUnturnedTextTransposed) {
  auto flat = Open(u"Tahoma", 13, 700);
  auto turned = Open(u"Tahoma", 13, 700, 900);
  const std::u16string text = u"Cycle 28";
  const int32_t advance = turned->Advance(text);
  ASSERT_EQ(advance, flat->Advance(text));

  Canvas across(120, 40), upwards(40, 120);
  const RECT clip_across[] = {across.all()};
  const RECT clip_upwards[] = {upwards.all()};
  flat->Draw(across.surface(), clip_across, 5, 10, text, 0x0000);
  turned->Draw(upwards.surface(), clip_upwards, 10, 110, text, 0x0000);
  const RECT ink = upwards.Ink();
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + turned->CellHeight());
  EXPECT_GE(ink.top, 110 - advance);
  EXPECT_LE(ink.bottom, 110);
  EXPECT_GT(ink.Height(), advance * 9 / 10);
  // The cell point (u, v) lands on (x + v, y - u): pixel (u, v) covers (x + v, y - u - 1).
  for (int32_t v = 0; v < 13; ++v)
    for (int32_t u = 0; u < advance; ++u)
      ASSERT_EQ(upwards.at(10 + v, 110 - u - 1), across.at(5 + u, 10 + v)) << u << "," << v;
  EXPECT_TRUE(upwards.FrameIntact());
}

TEST(FontDraw, NothingChangesOutsideTheClipRectangles) {
  auto font = Open(u"Tahoma", 16, 700);
  Canvas canvas(100, 30, 0x1234);
  const RECT clip[] = {{10, 0, 30, 30}, {50, 8, 70, 14}};
  font->Draw(canvas.surface(), clip, 2, 4, u"WWWWWWWWWWWWWWWW", 0x0000);
  bool inside_changed = false;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 100; ++x) {
      const bool inside = clip[0].Contains(x, y) || clip[1].Contains(x, y);
      if (!inside) {
        ASSERT_EQ(canvas.at(x, y), 0x1234) << x << "," << y;
      }
      inside_changed |= inside && canvas.at(x, y) != 0x1234;
    }
  EXPECT_TRUE(inside_changed);
  EXPECT_TRUE(canvas.FrameIntact());
  Canvas untouched(100, 30);
  font->Draw(untouched.surface(), {}, 2, 4, u"WWWW", 0x0000);  // no rectangles, no drawing
  EXPECT_TRUE(untouched.Ink().Empty());
}

TEST(FontDraw, TextOffTheSurfaceNeverWritesOutsideIt) {
  auto flat = Open(u"Tahoma", 16, 700);
  auto turned = Open(u"Tahoma", 16, 700, 900);
  Canvas canvas(20, 20);
  const RECT beyond[] = {{-100, -100, 200, 200}};  // larger than the surface
  const std::u16string long_text(100000, u'W');
  for (const auto& [x, y] : std::vector<std::pair<int32_t, int32_t>>{
           {-5, -5}, {-1000, 3}, {15, 15}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {3, INT_MIN}}) {
    flat->Draw(canvas.surface(), beyond, x, y, long_text, 0x0000);
    turned->Draw(canvas.surface(), beyond, x, y, long_text, 0x0000);
    ASSERT_TRUE(canvas.FrameIntact()) << x << "," << y;
  }
  EXPECT_NE(canvas.at(0, 0), kWhite);  // (-5, -5) reaches into the corner
  ce::fonts::Surface bad = canvas.surface();
  bad.stride = 2 * bad.width - 2;  // rows overlapping: refused
  Canvas fresh(20, 20);
  bad.pixels = fresh.surface().pixels;
  flat->Draw(bad, beyond, 0, 0, u"WWW", 0x0000);
  EXPECT_TRUE(fresh.Ink().Empty());
}

// Anti-aliased edges mix the text's colour into the background's, and never more than both.
TEST(FontDraw, EdgesBlendTheTwoColoursExactly) {
  auto font = Open(u"Tahoma", 18, 700);
  Canvas canvas(60, 30, 0x001F);  // blue
  const RECT clip[] = {canvas.all()};
  font->Draw(canvas.surface(), clip, 4, 4, u"Il/O", 0xF800);  // red
  int solid = 0, partial = 0;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 60; ++x) {
      const uint16_t p = canvas.at(x, y);
      const int red = p >> 11, green = (p >> 5) & 0x3F, blue = p & 0x1F;
      ASSERT_TRUE(green == 0 && std::abs(red + blue - 31) <= 1) << x << "," << y;
      solid += p == 0xF800;
      partial += red > 0 && blue > 0;
    }
  EXPECT_GT(solid, 0);
  EXPECT_GT(partial, 0);
}

}  // namespace
