// The images the program carries: each decodes with the program's own loader to exactly its
// source picture, converted as the packer converts it.
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "../../tools/packer/png_io.h"
#include "gfx/codec/lz77.h"
#include "gfx/fast_bitmap.h"
#include "gfx_test_util.h"
#include "platform/resources.h"

namespace {

struct Size {
  uint16_t width;
  uint16_t height;
  bool operator==(const Size&) const = default;
};

// Every packed image the screens load, with the size they load it at.
const std::map<uint32_t, Size> kImages = {
    {266, {130, 22}},  {279, {240, 268}}, {287, {240, 268}}, {290, {240, 268}}, {294, {234, 239}},
    {296, {192, 96}},  {309, {240, 268}}, {311, {240, 268}}, {314, {100, 14}},  {322, {240, 268}},
    {325, {14, 14}},   {326, {14, 14}},   {329, {70, 17}},   {331, {70, 17}},   {334, {70, 221}},
    {337, {240, 268}}, {338, {14, 240}},  {339, {14, 240}},  {340, {20, 268}},  {341, {8, 131}},
    {342, {8, 159}},   {343, {36, 36}},   {345, {80, 16}},   {346, {28, 14}},   {349, {6, 200}},
};

std::filesystem::path SourcePng(uint32_t id) {
  return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "resources" / "images" /
         (std::to_string(id) + ".png");
}

class GfxPackedImages : public gfx_test::GfxTest {};

TEST_F(GfxPackedImages, EveryImageDecodesToItsSourcePicture) {
  for (const auto& [id, size] : kImages) {
    SCOPED_TRACE("image " + std::to_string(id));
    Rgb565Image source;
    ASSERT_EQ(ReadPngAs565(SourcePng(id).string(), source), "");
    ASSERT_EQ((Size{static_cast<uint16_t>(source.width), static_cast<uint16_t>(source.height)}),
              size);

    CFastBitmap bitmap;
    const std::string name = std::to_string(id);
    ASSERT_TRUE(
        bitmap.Load(std::u16string(name.begin(), name.end()).c_str(), size.width, size.height));
    ASSERT_EQ(std::memcmp(bitmap.Pixels()->Pixels(), source.bytes.data(), source.bytes.size()), 0);

    // The stream holds exactly the picture: no surplus, nothing missing.
    const auto resource = ce::FindCustomResource(u"KKK", id);
    ASSERT_TRUE(resource);
    const auto payload = ContainerPayload(*resource);
    ASSERT_TRUE(payload);
    EXPECT_EQ(Lz77InflateReference(*payload), source.bytes);
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST(GfxPngTo565, ScalesEachChannelWithRoundingAndMakesTransparencyCyan) {
  EXPECT_EQ(Rgb888To565(0, 0, 0), 0x0000);
  EXPECT_EQ(Rgb888To565(255, 255, 255), 0xFFFF);
  EXPECT_EQ(Rgb888To565(0, 255, 255), 0x07FF);
  // (c * 31 + 127) / 255 and (c * 63 + 127) / 255
  EXPECT_EQ(Rgb888To565(4, 2, 4), 0x0000);
  EXPECT_EQ(Rgb888To565(5, 3, 5), (1 << 11) | (1 << 5) | 1);
  EXPECT_EQ(Rgb888To565(128, 128, 128), (16 << 11) | (32 << 5) | 16);

  Rgb565Image image;
  EXPECT_NE(ReadPngAs565("/nonexistent/picture.png", image), "");
  EXPECT_NE(ReadPngAs565(__FILE__, image), "");  // not a PNG
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
