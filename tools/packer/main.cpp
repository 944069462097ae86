// calvira-pack IN.png OUT.kkk: converts a PNG to the program's pixels and writes them as a packed
// image (4-byte little-endian payload length, then the LZ77 payload).
#include <cstdio>
#include <string>

#include "gfx/codec/lz77.h"
#include "png_io.h"

namespace {

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (written && closed) return true;
  std::remove(path);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: calvira-pack IN.png OUT.kkk\n");
    return 2;
  }
  Rgb565Image image;
  if (const std::string error = ReadPngAs565(argv[1], image); !error.empty()) {
    std::fprintf(stderr, "calvira-pack: %s: %s\n", argv[1], error.c_str());
    return 1;
  }
  const std::vector<uint8_t> packed = PackContainer(Lz77Encode(image.bytes));
  if (!WriteFile(argv[2], packed)) {
    std::fprintf(stderr, "calvira-pack: %s: cannot write the packed image\n", argv[2]);
    return 1;
  }
  return 0;
}
