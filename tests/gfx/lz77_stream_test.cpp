// The packed-image stream: hand-built streams and every image the program carries, decoded by
// every path the program has.
#include <algorithm>
#include <cstring>
#include <tuple>

#include "../../tools/packer/png_io.h"
#include "gfx/bit_file.h"
#include "gfx/codec/lz77.h"
#include "gfx/fast_bitmap.h"
#include "gfx_test_util.h"
#include "platform/resources.h"

namespace {

using gfx_test::Bytes;
using gfx_test::StreamBuilder;

constexpr uint32_t kTestImageId = 900001;

class GfxLz77Stream : public gfx_test::GfxTest {
 protected:
  void TearDown() override {
    ce::RemovePackedImage(kTestImageId);
    GfxTest::TearDown();
  }

  // Decodes the payload into a zero-filled destination of width x height pixels by every path:
  // the fast decoder, the reference decoder, CFastBitmap::Load through the memory files, and the
  // token-by-token decoder over bit files. Expects them to agree, silently, and returns the
  // destination's bytes.
  std::vector<uint8_t> DecodeEveryWay(const std::vector<uint8_t>& payload, uint16_t width,
                                      uint16_t height) {
    const size_t capacity = size_t{width} * height * 2;

    std::vector<uint8_t> fast(capacity, 0);
    const size_t produced = Lz77Inflate(payload, fast);

    std::vector<uint8_t> reference = Lz77InflateReference(payload);
    EXPECT_EQ(produced, std::min(reference.size(), capacity));
    reference.resize(capacity, 0);

    ce::AddPackedImage(kTestImageId, PackContainer(payload));
    CFastBitmap bitmap;
    EXPECT_TRUE(bitmap.Load(u"900001", width, height));
    std::vector<uint8_t> loaded(capacity, 0);
    if (capacity > 0) std::memcpy(loaded.data(), bitmap.Pixels()->Pixels(), capacity);

    std::vector<uint8_t> by_tokens(capacity, 0);
    CMemoryLikeFile::reset();
    SetBitFileDestination(by_tokens);
    std::unique_ptr<BitFile> reader = OpenBitFile("900001", "r");
    std::unique_ptr<BitFile> writer = OpenBitFile("", "w");
    SetBitFileDestination({});
    Lz77DecodeByTokens(reader.get(), writer.get());
    EXPECT_EQ(CloseBitFile(std::move(writer)), 1);
    EXPECT_EQ(CloseBitFile(std::move(reader)), 1);

    EXPECT_EQ(fast, reference) << "fast decoder against the reference";
    EXPECT_EQ(loaded, reference) << "CFastBitmap::Load against the reference";
    EXPECT_EQ(by_tokens, reference) << "token path against the reference";
    EXPECT_TRUE(Boxes().empty());
    return reference;
  }
};

TEST_F(GfxLz77Stream, HandBuiltStreamsDecodeAlikeByEveryPath) {
  // (what, payload, width of the one row, decoded bytes)
  const std::tuple<const char*, std::vector<uint8_t>, uint16_t, std::vector<uint8_t>> cases[] = {
      {"literals in order", StreamBuilder().Literals("Calv").Bytes(), 2, Bytes("Calv")},
      // Position 511 is the newest byte: with length field 31 it repeats it 32 times.
      {"a match of the newest byte", StreamBuilder().Literal('x').Match(31, 511).Bytes(), 17,
       Bytes(std::string(33, 'x') + '\0')},
      // Positions count from the oldest byte; a match may overlap the bytes it produces:
      // "12", then "121212", the last two and then its own output.
      {"overlapping matches", StreamBuilder().Literals("1234").Match(1, 508).Match(5, 510).Bytes(),
       6, Bytes("123412121212")},
      // Before any output the window holds zeros, so a match there gives black.
      {"a match before any output", StreamBuilder().Match(4, 0).Match(1, 510).Literal(7).Bytes(), 4,
       std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 7}},
      // Six set bits after two literals in the third byte would start a third token; the
      // second literal loaded the last byte, so they are never read.
      {"set bits after the last byte's token", StreamBuilder().Literals("ab").Bits(0x3F, 6).Bytes(),
       2, Bytes({"ab\0\0", 4})},
      // The first token loads the second and last byte; its seven spare set bits are ignored.
      {"spare bits of the token that loads the last byte",
       StreamBuilder().Literal('a').Bits(0x7F, 7).Bytes(), 2, Bytes({"a\0\0\0", 4})},
      // A token that starts before the last byte is decoded even if only padding follows: the
      // zero bits read as a one-byte match of the (zero) oldest window byte.
      {"padding after a token", StreamBuilder().Literal('a').FirstBytes(3), 2,
       Bytes({"a\0\0\0", 4})},
      // The match's last position bit (a 1) is cut off and reads as 0: position 510, not 511.
      {"bits past the payload", StreamBuilder().Literals("ab").Match(3, 511).FirstBytes(4), 3,
       Bytes("ababab")},
      // Surplus is dropped without a report.
      {"more than the destination holds", StreamBuilder().Literal('a').Match(31, 511).Bytes(), 3,
       Bytes("aaaaaa")},
      {"no payload", {}, 4, std::vector<uint8_t>(8, 0)},
      {"one byte of ones", {0xFF}, 4, std::vector<uint8_t>(8, 0)},
      {"one byte of zeros", {0x00}, 4, std::vector<uint8_t>(8, 0)},
  };
  for (const auto& [what, payload, width, expected] : cases) {
    SCOPED_TRACE(what);
    EXPECT_EQ(DecodeEveryWay(payload, width, 1), expected);
  }
}

// Every image the program carries, as the packer encoded it, decodes alike by every path to
// exactly its source picture: no surplus, nothing missing. (Round trips and arbitrary payloads
// are the fuzzers', fuzz/.)
TEST_F(GfxLz77Stream, EveryPackedImageDecodesAlikeByEveryPathToItsSourcePicture) {
  int images = 0;
  for (const auto& entry : std::filesystem::directory_iterator(gfx_test::ImagesDir())) {
    SCOPED_TRACE(entry.path().filename().string());
    Rgb565Image source;
    ASSERT_EQ(ReadPngAs565(entry.path().string(), source), "");
    const auto resource = ce::FindCustomResource(
        u"KKK", static_cast<uint32_t>(std::stoul(entry.path().stem().string())));
    ASSERT_TRUE(resource);
    const auto payload = ContainerPayload(*resource);
    ASSERT_TRUE(payload);
    EXPECT_EQ(Lz77InflateReference(*payload).size(), source.bytes.size());
    EXPECT_EQ(
        DecodeEveryWay(std::vector<uint8_t>(payload->begin(), payload->end()),
                       static_cast<uint16_t>(source.width), static_cast<uint16_t>(source.height)),
        source.bytes);
    ++images;
  }
  EXPECT_EQ(images, 25);
}

// The container of every image the program carries is read above; here one that lies.
TEST(GfxContainer, NeverReadsPastItsEnd) {
  std::vector<uint8_t> packed = PackContainer(std::vector<uint8_t>{1, 2, 3, 4, 5});
  packed[0] = 200;  // a length past the end gives what is there
  EXPECT_EQ(ContainerPayload(packed)->size(), 5u);
  EXPECT_FALSE(ContainerPayload(std::vector<uint8_t>{1, 0, 0}));
}

}  // namespace
