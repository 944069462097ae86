// Rules the pictures must keep with each other and with the screens that draw them, and the
// promise that the committed pictures are exactly what tools/artwork draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../../tools/packer/png_io.h"
#include "gfx_test_util.h"
#include "support/temp_store.h"

namespace {

struct Picture {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint16_t> pixels;
  uint16_t At(uint32_t x, uint32_t y) const { return pixels[y * width + x]; }
};

Picture Load(const std::filesystem::path& path) {
  Rgb565Image image;
  const std::string error = ReadPngAs565(path.string(), image);
  EXPECT_EQ(error, "") << path;
  Picture picture{image.width, image.height, {}};
  for (size_t i = 0; i + 1 < image.bytes.size(); i += 2) {
    picture.pixels.push_back(static_cast<uint16_t>(image.bytes[i] | (image.bytes[i + 1] << 8)));
  }
  return picture;
}

using gfx_test::ImagesDir;

Picture Committed(int id) {
  return Load(ImagesDir() / (std::to_string(id) + ".png"));
}

// The About screen wipes its sliding band (rows 230-243) with a copy of the background's top
// 14 rows: any difference between them would stay behind as a stripe.
TEST(Artwork, TheBandEraserMatchesTheRowsItWipes) {
  const Picture background = Committed(290);
  for (uint32_t y = 0; y < 14; ++y) {
    for (uint32_t x = 0; x < 240; ++x) {
      ASSERT_EQ(background.At(x, y), background.At(x, 230 + y)) << "x " << x << ", row " << y;
    }
  }
}

// Sprites, the warning sign and the help frame are drawn opaque over picture 290, so their
// outer pixels must be the background's own where they land.
TEST(Artwork, PiecesDrawnOverTheBackgroundBlendIntoIt) {
  const Picture background = Committed(290);
  auto expect_border_matches = [&](const Picture& piece, uint32_t px, uint32_t py, uint32_t w,
                                   uint32_t h, uint32_t at_x, uint32_t at_y, const char* what) {
    for (uint32_t y = 0; y < h; ++y) {
      for (uint32_t x = 0; x < w; ++x) {
        if (x != 0 && y != 0 && x != w - 1 && y != h - 1) continue;
        ASSERT_EQ(piece.At(px + x, py + y), background.At(at_x + x, at_y + y))
            << what << " at (" << x << ", " << y << ")";
      }
    }
  };
  const Picture sprites = Committed(296);
  for (uint32_t k = 0; k < 17; ++k) {
    SCOPED_TRACE("sprite " + std::to_string(k));
    expect_border_matches(sprites, (k % 6) * 32, (k / 6) * 32, 32, 32, 180, 30, "sprite");
  }
  expect_border_matches(Committed(343), 0, 0, 36, 36, 30, 25, "warning sign");
  const Picture frame = Committed(294);
  EXPECT_EQ(frame.At(0, 0), background.At(3, 3));
  EXPECT_EQ(frame.At(233, 238), background.At(236, 241));
}

TEST(Artwork, TheEmblemIsKeyedOnItsOwnPixelAtOneOne) {
  const Picture emblem = Committed(266);
  EXPECT_EQ(emblem.At(1, 1), 0x07FF);
  size_t drawn = 0;
  for (uint16_t p : emblem.pixels) drawn += p != 0x07FF;
  EXPECT_GT(drawn, emblem.pixels.size() / 5) << "the emblem is nearly all key colour";
}

// Bars and the start month's strip are cut from the top to any height: every row under the
// top one must be alike, so that a cut anywhere looks finished.
TEST(Artwork, BarsCutFromTheTopLookTheSameAtEveryHeight) {
  for (int id : {341, 342, 349, 339, 338, 340}) {
    SCOPED_TRACE("picture " + std::to_string(id));
    const Picture bar = Committed(id);
    for (uint32_t y = 2; y < bar.height; ++y) {
      for (uint32_t x = 0; x < bar.width; ++x) ASSERT_EQ(bar.At(x, y), bar.At(x, 1)) << y;
    }
  }
}

TEST(Artwork, TheCommittedPicturesAreWhatTheGeneratorDraws) {
  const std::filesystem::path out = calvira::testing::MakeTempDir("artwork");
  // The generator's fonts come from fontconfig, whose caches live for the process; a leak
  // report about them says nothing about the pictures.
  const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + std::string(CALVIRA_ARTWORK_EXE) +
                              " " + out.string() + " >/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  int compared = 0;
  for (const auto& entry : std::filesystem::directory_iterator(ImagesDir())) {
    const auto drawn_path = out / entry.path().filename();
    ASSERT_TRUE(std::filesystem::exists(drawn_path)) << entry.path().filename();
    const Picture committed = Load(entry.path());
    const Picture drawn = Load(drawn_path);
    EXPECT_TRUE(committed.width == drawn.width && committed.height == drawn.height &&
                committed.pixels == drawn.pixels)
        << entry.path().filename() << " is not what tools/artwork draws; run `make artwork`";
    ++compared;
  }
  EXPECT_EQ(compared, 25);
  std::filesystem::remove_all(out);
}

}  // namespace
