// The packer's conversion of pictures to the program's pixels. (That each packed image decodes
// to its picture is the stream test's.)
#include <filesystem>
#include <string>

#include "../../tools/packer/png_io.h"
#include "gfx_test_util.h"

namespace {

TEST(GfxPngTo565, ScalesEachChannelWithRoundingAndRefusesWhatIsNotAPng) {
  // (c * 31 + 127) / 255 and (c * 63 + 127) / 255
  EXPECT_EQ(Rgb888To565(4, 2, 4), 0x0000);
  EXPECT_EQ(Rgb888To565(5, 3, 5), (1 << 11) | (1 << 5) | 1);
  EXPECT_EQ(Rgb888To565(128, 128, 128), (16 << 11) | (32 << 5) | 16);
  EXPECT_EQ(Rgb888To565(255, 255, 255), 0xFFFF);
  Rgb565Image image;
  EXPECT_NE(ReadPngAs565("/nonexistent/picture.png", image), "");
  EXPECT_NE(ReadPngAs565((gfx_test::ImagesDir() / ".." / "ui" / "ids.h").string(), image), "");
}

// Writes a small PNG of the given libpng format and reads it back as the packer does.
std::vector<uint16_t> RoundTripPng(uint32_t format, uint32_t width,
                                   const std::vector<uint8_t>& data) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("calvira-png-test-" + std::to_string(format) + ".png");
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.format = format;
  image.width = width;
  image.height = 1;
  EXPECT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, data.data(), 0, nullptr));
  Rgb565Image read;
  EXPECT_EQ(ReadPngAs565(path.string(), read), "");
  std::filesystem::remove(path);
  std::vector<uint16_t> pixels;
  for (size_t i = 0; i + 1 < read.bytes.size(); i += 2) {
    pixels.push_back(static_cast<uint16_t>(read.bytes[i] | (read.bytes[i + 1] << 8)));
  }
  return pixels;
}

TEST(GfxPngTo565, ReadsAnyColourTypeAsRgbAndLessThanHalfOpaqueAsCyan) {
  EXPECT_EQ(RoundTripPng(PNG_FORMAT_RGBA, 3, {255, 0, 0, 255, 10, 20, 30, 127, 0, 0, 255, 128}),
            (std::vector<uint16_t>{0xF800, 0x07FF, 0x001F}));
  EXPECT_EQ(RoundTripPng(PNG_FORMAT_GRAY, 2, {255, 0}), (std::vector<uint16_t>{0xFFFF, 0x0000}));
  EXPECT_EQ(RoundTripPng(PNG_FORMAT_RGB, 1, {0, 255, 0}), (std::vector<uint16_t>{0x07E0}));
}

}  // namespace
