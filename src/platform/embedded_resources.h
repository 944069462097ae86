// The packed images and the window icon that the build embeds into the program (see
// resources/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <span>

namespace ce {

struct EmbeddedResource {
  uint32_t id;
  uint16_t width;  // the picture's own size, as the build read it from its PNG
  uint16_t height;
  const unsigned char* begin;
  const unsigned char* end;
};

// Every embedded packed image, in ascending id order. Defined by the generated table.
std::span<const EmbeddedResource> EmbeddedPackedImages();
// The window's icon: a PNG file, as resources/icons holds it.
std::span<const unsigned char> EmbeddedWindowIcon();

}  // namespace ce
