// The images the program carries: each decodes with the program's own loader to exactly its
// source picture, converted as the packer converts it.
#include <cstring>
#include <filesystem>
#include <string>

#include "../../tools/packer/png_io.h"
#include "gfx/codec/lz77.h"
#include "gfx/fast_bitmap.h"
#include "gfx_test_util.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace {

class GfxPackedImages : public gfx_test::GfxTest {};

TEST_F(GfxPackedImages, EveryImageDecodesToItsSourcePicture) {
  int images = 0;
  for (const auto& entry : std::filesystem::directory_iterator(gfx_test::ImagesDir())) {
    SCOPED_TRACE(entry.path().filename().string());
    Rgb565Image source;
    ASSERT_EQ(ReadPngAs565(entry.path().string(), source), "");
    const std::u16string name = ce::FromUtf8(entry.path().stem().string());
    CFastBitmap bitmap;
    ASSERT_TRUE(bitmap.Load(name.c_str(), static_cast<uint16_t>(source.width),
                            static_cast<uint16_t>(source.height)));
    ASSERT_EQ(std::memcmp(bitmap.Pixels()->Pixels(), source.bytes.data(), source.bytes.size()), 0);
    // The stream holds exactly the picture: no surplus, nothing missing.
    const auto resource = ce::FindCustomResource(
        u"KKK", static_cast<uint32_t>(std::stoul(entry.path().stem().string())));
    ASSERT_TRUE(resource);
    const auto payload = ContainerPayload(*resource);
    ASSERT_TRUE(payload);
    EXPECT_EQ(Lz77InflateReference(*payload), source.bytes);
    ++images;
  }
  EXPECT_EQ(images, 25);
  EXPECT_TRUE(Boxes().empty());
}

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
