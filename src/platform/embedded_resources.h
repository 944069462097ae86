// The packed images that the build embeds into the program (see resources/CMakeLists.txt).
#pragma once

#include <cstdint>
#include <span>

namespace ce {

struct EmbeddedResource {
  uint32_t id;
  const unsigned char* begin;
  const unsigned char* end;
};

// Every embedded packed image, in ascending id order. Defined by the generated table.
std::span<const EmbeddedResource> EmbeddedPackedImages();

}  // namespace ce
