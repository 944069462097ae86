// Helpers of the graphics tests: a clean message-box log, hand-built bit streams and pixel
// pictures that read like the buffers they show.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/graphic_buffer.h"
#include "platform/message_box.h"

namespace gfx_test {

// The repository's resources/images. A compiler cache may make __FILE__ relative to the build
// directory, which is neither where the tests run nor where they are started from, so a relative
// one is looked for upwards from the test program.
inline std::filesystem::path ImagesDir() {
  const std::filesystem::path file = __FILE__;
  std::filesystem::path base = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  while (file.is_relative() && !std::filesystem::exists(base / file) && base != base.parent_path())
    base = base.parent_path();
  return (file.is_relative() ? base / file : file).parent_path() / ".." / ".." / "resources" /
         "images";
}

// Every test starts and ends with an empty, silent message-box log.
class GfxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ce::SetMessageBoxEcho(false);
    ce::TakeMessageBoxReports();
  }
  void TearDown() override { ce::TakeMessageBoxReports(); }

  // The texts of the boxes shown since the last call; each must be a "Fatal Error" stop box.
  static std::vector<std::u16string> Boxes() {
    std::vector<std::u16string> texts;
    for (const ce::MessageBoxReport& r : ce::TakeMessageBoxReports()) {
      EXPECT_EQ(r.caption, u"Fatal Error");
      EXPECT_EQ(r.type, ce::MB_ICONSTOP);
      texts.push_back(r.text);
    }
    return texts;
  }
};

using Texts = std::vector<std::u16string>;
using Rows = std::vector<std::string>;

// Writes tokens as the stream format has them, most significant bit first.
class StreamBuilder {
 public:
  StreamBuilder& Bits(uint32_t value, int n) {
    for (int k = n - 1; k >= 0; --k) bits_.push_back(((value >> k) & 1u) != 0);
    return *this;
  }
  StreamBuilder& Literal(uint8_t byte) { return Bits(0x100u | byte, 9); }
  StreamBuilder& Literals(std::string_view bytes) {
    for (char c : bytes) Literal(static_cast<uint8_t>(c));
    return *this;
  }
  // Copies length + 1 bytes from window position `position`.
  StreamBuilder& Match(uint32_t length, uint32_t position) {
    return Bits((length << 9) | position, 15);
  }

  // The bits padded with zeros to whole bytes.
  std::vector<uint8_t> Bytes() const { return FirstBytes((bits_.size() + 7) / 8); }
  // Only the first n bytes: the bits after them are cut off.
  std::vector<uint8_t> FirstBytes(size_t n) const {
    std::vector<uint8_t> out(n, 0);
    for (size_t i = 0; i < bits_.size() && i / 8 < n; ++i) {
      if (bits_[i]) out[i / 8] |= static_cast<uint8_t>(0x80u >> (i % 8));
    }
    return out;
  }

 private:
  std::vector<bool> bits_;
};

inline std::vector<uint8_t> Bytes(const std::string& s) {
  return {s.begin(), s.end()};
}

// The buffer as text, one string a row: '.' for pixels of colour 0, '#' for any other.
inline std::vector<std::string> Picture(const GraphicBuffer& b) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < b.Width(); ++x) row.push_back(b.At(x, y) ? '#' : '.');
    rows.push_back(row);
  }
  return rows;
}

// The pixels row by row, without row padding.
inline std::vector<uint16_t> PixelValues(const GraphicBuffer& b) {
  std::vector<uint16_t> out;
  for (int32_t y = 0; y < b.Height(); ++y) {
    for (int32_t x = 0; x < b.Width(); ++x) out.push_back(b.At(x, y));
  }
  return out;
}

}  // namespace gfx_test
