// CMemoryLikeFile and the bit files over it: reports, reads and writes at and past the ends,
// slot handling, and the writer's padding.
#include <algorithm>
#include <cstring>

#include "gfx/bit_file.h"
#include "gfx/codec/lz77.h"
#include "gfx/memory_like_file.h"
#include "gfx_test_util.h"
#include "platform/resources.h"

namespace {

using File = CMemoryLikeFile::File;
using gfx_test::Texts;

class GfxMemoryFile : public gfx_test::GfxTest {
 protected:
  void SetUp() override {
    GfxTest::SetUp();
    CMemoryLikeFile::reset();
    // A resource whose payload is "hello".
    ce::AddPackedImage(900101, PackContainer(gfx_test::Bytes("hello")));
  }
  void TearDown() override {
    CMemoryLikeFile::reset();
    ce::RemovePackedImage(900101);
    ce::RemovePackedImage(900102);
    GfxTest::TearDown();
  }
};

TEST_F(GfxMemoryFile, ReadsThePayloadAndReportsAPartItemAtTheEnd) {
  File* f = CMemoryLikeFile::fopen("900101", "r");
  ASSERT_NE(f, nullptr);
  char buf[8] = {};
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 1, 2, f), 2u);
  EXPECT_EQ(std::string(buf, 2), "he");
  // Three bytes left: one whole item of two and a part, which is copied too.
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 2, 2, f), 1u);
  EXPECT_EQ(std::string(buf, 3), "llo");
  EXPECT_EQ(Boxes(), Texts{u"CMemoryLikeFile::fread 3"});
  // At the end: nothing, and no report.
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 1, 1, f), 0u);
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 1, 0, f), 0u);
  EXPECT_EQ(CMemoryLikeFile::Position(f), 9u);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(CMemoryLikeFile::fclose(f), 0);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(GfxMemoryFile, ALengthFieldPastTheResourceIsReadOnlyAsFarAsTheResource) {
  std::vector<uint8_t> damaged = {200, 0, 0, 0, 'a', 'b'};
  ce::AddPackedImage(900102, damaged);
  File* f = CMemoryLikeFile::fopen("900102", "r");
  ASSERT_NE(f, nullptr);
  char buf[300] = {};
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 1, sizeof buf, f), 2u);
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 1, sizeof buf, f), 0u);

  // Shorter than its own header: nothing to read.
  ce::AddPackedImage(900102, {7, 0});
  File* g = CMemoryLikeFile::fopen("900102", "r");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(CMemoryLikeFile::fread(buf, 1, 1, g), 0u);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(GfxMemoryFile, WritesDropWhatDoesNotFitAndReportProblems) {
  File* f = CMemoryLikeFile::fopen("", "w");
  ASSERT_NE(f, nullptr);
  // No destination yet.
  EXPECT_EQ(CMemoryLikeFile::fwrite("ab", 1, 2, f), 0u);
  EXPECT_EQ(Boxes(), Texts{u"CMemoryLikeFile::fwrite 2"});

  uint8_t block[8];
  std::fill(std::begin(block), std::end(block), 0xEE);
  CMemoryLikeFile::SetWriteBlock(block, 5, f);
  EXPECT_EQ(CMemoryLikeFile::fwrite("ab", 1, 2, f), 2u);
  // Room for three more bytes: one whole item of two and a part, which is written too.
  EXPECT_EQ(CMemoryLikeFile::fwrite("cdef", 2, 2, f), 1u);
  EXPECT_EQ(Boxes(), Texts{u"CMemoryLikeFile::fwrite 3"});
  EXPECT_EQ(CMemoryLikeFile::fwrite("g", 1, 1, f), 0u);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block), 5), "abcde");
  EXPECT_EQ(block[5], 0xEE);  // the capacity never grows

  EXPECT_EQ(CMemoryLikeFile::fclose(f), 0);
  // Closed: reads and writes report and do nothing.
  EXPECT_EQ(CMemoryLikeFile::fwrite("x", 1, 1, f), 0u);
  EXPECT_EQ(CMemoryLikeFile::fread(block, 1, 1, f), 0u);
  EXPECT_EQ(Boxes(), (Texts{u"CMemoryLikeFile::fwrite", u"CMemoryLikeFile::fread"}));
  EXPECT_EQ(block[0], 'a');
}

TEST_F(GfxMemoryFile, SlotsAreTakenLowestFirstAndClosedInReverse) {
  File* a = CMemoryLikeFile::fopen("900101", "r");
  File* b = CMemoryLikeFile::fopen("", "w");
  ASSERT_TRUE(a && b);
  EXPECT_EQ(*a, 0);
  EXPECT_EQ(*b, 1);
  EXPECT_EQ(CMemoryLikeFile::OpenCount(), 2);

  // Out of order: the second close finds its slot number not below the open count.
  EXPECT_EQ(CMemoryLikeFile::fclose(a), 0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(CMemoryLikeFile::fclose(b), 0);
  EXPECT_EQ(Boxes(), Texts{u"CMemoryLikeFile::fclose 1"});
  EXPECT_EQ(CMemoryLikeFile::OpenCount(), 0);

  // Closing again touches nobody's slot.
  File* c = CMemoryLikeFile::fopen("900101", "r");
  ASSERT_EQ(c, a);
  EXPECT_EQ(CMemoryLikeFile::fclose(b), -1);
  EXPECT_EQ(Boxes(), Texts{u"CMemoryLikeFile::fclose 2"});
  EXPECT_TRUE(CMemoryLikeFile::IsOpen(c));
  EXPECT_EQ(CMemoryLikeFile::OpenCount(), 1);
}

TEST_F(GfxMemoryFile, OpenFailsForUnknownNamesModesAndAFullTable) {
  EXPECT_EQ(CMemoryLikeFile::fopen("900199", "r"), nullptr);  // no such resource
  EXPECT_EQ(CMemoryLikeFile::fopen("", "r"), nullptr);
  EXPECT_EQ(CMemoryLikeFile::fopen("9001 01", "r"), nullptr);
  EXPECT_EQ(CMemoryLikeFile::fopen("99999999999", "r"), nullptr);
  EXPECT_EQ(CMemoryLikeFile::fopen("900101", "a"), nullptr);
  for (int i = 0; i < CMemoryLikeFile::kSlots; ++i) {
    ASSERT_NE(CMemoryLikeFile::fopen("900101", "r"), nullptr);
  }
  EXPECT_EQ(CMemoryLikeFile::fopen("900101", "r"), nullptr);

  // A reset frees every slot; the old handles are no longer open.
  File* first = CMemoryLikeFile::fopen("", "w");
  EXPECT_EQ(first, nullptr);
  CMemoryLikeFile::reset();
  EXPECT_EQ(CMemoryLikeFile::OpenCount(), 0);
  File* again = CMemoryLikeFile::fopen("", "w");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(*again, 0);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(GfxMemoryFile, BitReaderTakesBitsMostSignificantFirstAndZerosPastTheEnd) {
  ce::AddPackedImage(900102, PackContainer(std::vector<uint8_t>{0xA5, 0x0F}));
  std::unique_ptr<BitFile> r = OpenBitFile("900102", "r");
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->end);
  EXPECT_EQ(ReadBits(3, r.get()), 0b101u);
  EXPECT_EQ(ReadBits(5, r.get()), 0b00101u);  // loads the last byte
  EXPECT_TRUE(r->end);
  EXPECT_EQ(ReadBits(8, r.get()), 0x0Fu);
  EXPECT_EQ(ReadBits(32, r.get()), 0u);
  EXPECT_EQ(WriteBits(1, 1, r.get()), -1);
  EXPECT_EQ(CloseBitFile(std::move(r)), 1);

  // One byte or none: the last byte is loaded at open, so the reader starts at its end.
  ce::AddPackedImage(900102, PackContainer(std::vector<uint8_t>{0xFF}));
  r = OpenBitFile("900102", "r");
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->end);
  EXPECT_EQ(ReadBits(8, r.get()), 0xFFu);
  EXPECT_EQ(ReadBits(8, r.get()), 0u);
  EXPECT_EQ(CloseBitFile(std::move(r)), 1);
  EXPECT_EQ(CloseBitFile(nullptr), -1);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(GfxMemoryFile, BitWriterPadsItsLastByteWithZerosOnClose) {
  std::vector<uint8_t> dest(4, 0xEE);
  SetBitFileDestination(dest);
  std::unique_ptr<BitFile> w = OpenBitFile("", "w");
  SetBitFileDestination({});
  ASSERT_TRUE(w);
  EXPECT_EQ(WriteBits(0xABC, 12, w.get()), 1);
  EXPECT_EQ(WriteBits(1, 1, w.get()), 1);
  EXPECT_EQ(ReadBits(1, w.get()), 0u);
  EXPECT_EQ(dest[0], 0xEE);  // still buffered
  EXPECT_EQ(CloseBitFile(std::move(w)), 1);
  EXPECT_EQ(dest, (std::vector<uint8_t>{0xAB, 0xC8, 0xEE, 0xEE}));
  EXPECT_EQ(CMemoryLikeFile::OpenCount(), 0);
}

TEST_F(GfxMemoryFile, BitWriterWritesBlocksOf5000BytesAndDropsWhatDoesNotFit) {
  std::vector<uint8_t> dest(12001, 0);
  SetBitFileDestination(std::span<uint8_t>(dest).first(12000));
  std::unique_ptr<BitFile> w = OpenBitFile("", "w");
  SetBitFileDestination({});
  for (int i = 0; i < 12500; ++i) WriteBits(static_cast<uint32_t>(i % 251), 8, w.get());
  // Two whole blocks are out; the rest waits for the close.
  EXPECT_EQ(CMemoryLikeFile::Position(w->file), 10000u);
  EXPECT_EQ(dest[10000], 0);
  EXPECT_EQ(CloseBitFile(std::move(w)), 1);
  for (int i = 0; i < 12000; ++i) ASSERT_EQ(dest[i], i % 251) << i;
  EXPECT_EQ(dest[12000], 0);
  EXPECT_TRUE(Boxes().empty());
}

}  // namespace
