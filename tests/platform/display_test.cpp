// The headless display and the PNG writer: what must never be written past or left behind.
// (The SDL back end is the Xvfb walks', tests/x11.)
#include "platform/display.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_store.h"

namespace ce {
namespace {

TEST(DisplayHeadless, PresentCopiesRowsByStrideAndClipsToItsSize) {
  HeadlessDisplay display(4, 3);
  ASSERT_EQ(display.Frame(), std::vector<uint16_t>(12, 0));

  // Six pixels per row in memory, four shown; the padding must never reach the frame.
  std::vector<uint16_t> source(6 * 3, 0xDEAD);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) source[y * 6 + x] = static_cast<uint16_t>(y * 16 + x);
  }
  display.Present(source.data(), 4, 3, 6 * 2, RECT{1, 1, 2, 2});
  EXPECT_EQ(display.Frame(), (std::vector<uint16_t>{0, 1, 2, 3, 16, 17, 18, 19, 32, 33, 34, 35}));
  EXPECT_EQ(display.PresentCount(), 1);

  // A frame larger than the display is cut to it rather than written past its end.
  std::vector<uint16_t> large(8 * 5, 0x1234);
  display.Present(large.data(), 8, 5, 8 * 2, RECT{0, 0, 8, 5});
  EXPECT_EQ(display.Frame(), std::vector<uint16_t>(12, 0x1234));
  EXPECT_EQ(display.PresentCount(), 2);
}

// The pixels themselves are the screenshots' (they must stay byte-identical); here, failures.
TEST(PngWriter, ReportsAFailureWithThePathAndLeavesNoFile) {
  const auto dir = calvira::testing::MakeTempDir("calvira-png");
  const uint16_t pixels[] = {0xF800, 0x07E0};
  EXPECT_EQ(WritePng565((dir / "shot.png").string(), pixels, 2, 1), "");
  const auto missing = (dir / "missing" / "shot.png").string();
  EXPECT_NE(WritePng565(missing, pixels, 1, 1).find(missing), std::string::npos);
  EXPECT_NE(WritePng565((dir / "empty.png").string(), pixels, 0, 1), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "empty.png"));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ce
