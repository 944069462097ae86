// Reading a PNG as the program's pixels: RGB 5-6-5, little-endian 16-bit, rows top to bottom.
// Header-only so that the tests convert the source images exactly as the packer does.
#pragma once

#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/codec/rgb565.h"

struct Rgb565Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> bytes;  // width x height x 2
};

// Any PNG colour type is read as RGB with alpha; a pixel less than half opaque becomes cyan
// (0x07FF), the transparent colour of sprites and buttons. Returns an empty text on success,
// otherwise what went wrong.
inline std::string ReadPngAs565(const std::string& path, Rgb565Image& out) {
  // Bitmaps are at most 65535 pixels each way; a picture of more than 16 M pixels is no screen
  // image, and a header claiming one must not make us allocate gigabytes.
  constexpr uint32_t kMaxSide = 65535;
  constexpr uint64_t kMaxPixels = uint64_t{1} << 24;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    return std::string("cannot read PNG: ") + image.message;
  }
  if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide ||
      uint64_t{image.width} * image.height > kMaxPixels) {
    png_image_free(&image);
    return "image size " + std::to_string(image.width) + " x " + std::to_string(image.height) +
           " is not between 1 and 65535 each way, at most 16 M pixels";
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    const std::string message = std::string("cannot decode PNG: ") + image.message;
    png_image_free(&image);
    return message;
  }
  out.width = image.width;
  out.height = image.height;
  const size_t pixels = size_t{image.width} * image.height;
  out.bytes.assign(pixels * 2, 0);
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t* p = &rgba[i * 4];
    const uint16_t c = p[3] < 128 ? uint16_t{0x07FF} : Rgb888To565(p[0], p[1], p[2]);
    out.bytes[i * 2] = static_cast<uint8_t>(c);
    out.bytes[i * 2 + 1] = static_cast<uint8_t>(c >> 8);
  }
  return {};
}
