#include <png.h>

#include <cstring>
#include <vector>

#include "platform/display.h"

namespace ce {

namespace {

// Rounds to the nearest 8-bit value so that 0 and the channel's maximum map to 0 and 255.
uint8_t Expand(uint32_t value, uint32_t max) {
  return static_cast<uint8_t>((value * 255 + max / 2) / max);
}

// Far beyond any screen we draw; keeps width * height * 3 well inside size_t and libpng's int
// row stride.
constexpr int32_t kMaxSide = 1 << 14;

// Icons are small; a bigger picture is not one, and is not worth the memory.
constexpr png_uint_32 kMaxReadSide = 256;

}  // namespace

std::vector<uint8_t> ReadPngRgba(std::span<const unsigned char> png, int32_t* width,
                                 int32_t* height) {
  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  std::vector<uint8_t> rgba;
  // libpng frees the image itself when reading fails.
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return {};
  if (image.width == 0 || image.height == 0 || image.width > kMaxReadSide ||
      image.height > kMaxReadSide) {
    png_image_free(&image);
    return {};
  }
  image.format = PNG_FORMAT_RGBA;
  rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  *width = static_cast<int32_t>(image.width);
  *height = static_cast<int32_t>(image.height);
  return rgba;
}

std::string WritePng565(const std::string& path, const uint16_t* pixels, int32_t width,
                        int32_t height) {
  if (!pixels || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    return "cannot write " + path + ": no picture of that size";
  }
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::vector<uint8_t> rgb(count * 3);
  for (size_t i = 0; i < count; ++i) {
    const uint16_t p = pixels[i];
    rgb[i * 3 + 0] = Expand((p >> 11) & 0x1F, 31);
    rgb[i * 3 + 1] = Expand((p >> 5) & 0x3F, 63);
    rgb[i * 3 + 2] = Expand(p & 0x1F, 31);
  }

  png_image image;
  std::memset(&image, 0, sizeof(image));
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  // libpng removes a half-written file itself when it fails.
  const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
  std::string error;
  if (!ok) {
    error = "cannot write " + path + ": " +
            (image.message[0] ? std::string(image.message) : std::string("unknown error"));
  }
  png_image_free(&image);
  return error;
}

}  // namespace ce
