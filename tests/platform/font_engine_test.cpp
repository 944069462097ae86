// The font engine: that any face and height open, and that drawing stays inside its surface
// whatever it is asked. How glyphs look is the screenshots' business.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/font_engine.h"
#include "platform/text.h"

namespace {

using ce::RECT;
using ce::fonts::Font;

constexpr uint16_t kPaper = 0x1234;
constexpr uint16_t kGuard = 0xA5A5;

// A surface inside a larger buffer whose frame of guard pixels must never change.
class Canvas {
 public:
  Canvas(int32_t width, int32_t height)
      : width_(width),
        height_(height),
        pitch_(width + 2 * kFrame),
        buffer_(static_cast<size_t>(pitch_) * (height + 2 * kFrame), kGuard) {
    for (int32_t y = 0; y < height; ++y)
      for (int32_t x = 0; x < width; ++x) at(x, y) = kPaper;
  }
  ce::fonts::Surface surface() {
    return {&at(0, 0), width_, height_, static_cast<int32_t>(pitch_ * sizeof(uint16_t))};
  }
  uint16_t& at(int32_t x, int32_t y) { return buffer_[(y + kFrame) * pitch_ + x + kFrame]; }
  // Pixels changed inside the surface, or -1 when the guard frame around it was touched.
  int Changed() {
    int changed = 0;
    for (int32_t y = -kFrame; y < height_ + kFrame; ++y)
      for (int32_t x = -kFrame; x < width_ + kFrame; ++x) {
        const bool inside = x >= 0 && y >= 0 && x < width_ && y < height_;
        if (!inside && at(x, y) != kGuard) return -1;
        changed += inside && at(x, y) != kPaper;
      }
    return changed;
  }

 private:
  static constexpr int32_t kFrame = 4;
  int32_t width_, height_, pitch_;
  std::vector<uint16_t> buffer_;
};

std::unique_ptr<Font> Open(std::u16string face, int32_t height, int32_t weight = 700,
                           int32_t escapement = 0) {
  auto font = Font::Open({std::move(face), height, weight, false, escapement});
  EXPECT_NE(font, nullptr);
  return font;
}

// Which file a face resolves to and its cell sizes show in the screenshots; here, any name and
// any height still make a font, of a bounded size.
TEST(FontOpen, AnyNameAndAnyHeightMakeABoundedFont) {
  const auto regular = Open(u"Tahoma", 13, 400);
  for (const char16_t* name : {u"System", u"", u" tahoma", u"No Such Face At All"})
    EXPECT_EQ(Open(name, 13, 400)->File(), regular->File()) << ce::ToUtf8(name);
  for (int32_t height : {0, INT_MIN, INT_MAX, -100000}) {
    const int32_t cell = Open(u"Tahoma", height)->CellHeight();
    EXPECT_TRUE(cell > 0 && cell <= 4096) << height;
  }
}

// Which pixels a clip rectangle lets through is the screenshots'; here, nothing lands outside
// the surface.
TEST(FontDraw, NothingChangesOutsideTheSurface) {
  auto flat = Open(u"Tahoma", 16);
  auto turned = Open(u"Tahoma", 16, 700, 900);
  Canvas untouched(100, 30);
  flat->Draw(untouched.surface(), {}, 2, 4, u"WWWW", 0x0000);  // no rectangles, no drawing
  EXPECT_EQ(untouched.Changed(), 0);

  // A clip larger than the surface, a long text and any position: never a pixel outside.
  Canvas canvas(20, 20);
  const RECT beyond[] = {{-100, -100, 200, 200}};
  const std::u16string long_text(100000, u'W');
  for (const auto& [x, y] : std::vector<std::pair<int32_t, int32_t>>{
           {-1000, 3}, {15, 15}, {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {3, INT_MIN}, {-5, -5}}) {
    flat->Draw(canvas.surface(), beyond, x, y, long_text, 0x0000);
    turned->Draw(canvas.surface(), beyond, x, y, long_text, 0x0000);
    ASSERT_GE(canvas.Changed(), 0) << x << "," << y;
  }
  EXPECT_NE(canvas.at(0, 0), kPaper);  // (-5, -5) reaches into the corner
  // Rows that would overlap: refused.
  Canvas fresh(20, 20);
  ce::fonts::Surface bad = fresh.surface();
  bad.stride = 2 * bad.width - 2;
  flat->Draw(bad, beyond, 0, 0, u"WWW", 0x0000);
  EXPECT_EQ(fresh.Changed(), 0);
}

}  // namespace
