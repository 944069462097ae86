// Pixel buffers and bitmaps: layout, fills, the copy operations with their reports and their
// clipping, and CFastBitmap::Draw.
#include <tuple>

#include "gfx/codec/lz77.h"
#include "gfx/fast_bitmap.h"
#include "gfx/graphic_buffer.h"
#include "gfx_test_util.h"
#include "platform/resources.h"

namespace {

using gfx_test::PixelValues;
using gfx_test::Texts;

using GfxGraphicBuffer = gfx_test::GfxTest;

// A buffer whose pixel (x, y) holds 100 * y + x + 1, so every pixel is told apart.
void Number(GraphicBuffer& b) {
  for (int32_t y = 0; y < b.Height(); ++y) {
    for (int32_t x = 0; x < b.Width(); ++x) b.At(x, y) = static_cast<uint16_t>(100 * y + x + 1);
  }
}

TEST_F(GfxGraphicBuffer, PresentableRowsArePaddedAndFillSetsEveryPixelWhateverTheWidth) {
  // The window shows a presentable buffer's bytes as they are: its rows are padded to four bytes.
  CDibGraphicBuffer padded(239, 3);
  EXPECT_EQ(PixelValues(padded), std::vector<uint16_t>(239 * 3, 0));
  padded.At(1, 2) = 0x1234;
  EXPECT_EQ(reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(padded.Pixels()) + 2 * 480)[1],
            0x1234);
  EXPECT_EQ(GraphicBuffer(0, 5).Pixels(), nullptr);
  for (int32_t width : {1, 7, 8, 9, 16, 239, 240}) {
    for (uint16_t colour : {uint16_t{0xFFFF}, uint16_t{0x1234}, uint16_t{0x0000}}) {
      GraphicBuffer plain(width, 3);
      CDibGraphicBuffer dib(width, 3);
      Number(plain);
      Number(dib);
      GraphicBuffer::Fill(&plain, colour);
      GraphicBuffer::Fill(&dib, colour);
      const std::vector<uint16_t> want(static_cast<size_t>(width) * 3, colour);
      EXPECT_EQ(PixelValues(plain), want) << width << " " << colour;
      EXPECT_EQ(PixelValues(dib), want) << width << " " << colour;
    }
  }
  GraphicBuffer::Fill(nullptr, 1);  // nothing to fill
}

TEST_F(GfxGraphicBuffer, BlitCopiesRectanglesAndReportsMismatches) {
  GraphicBuffer src(4, 3);
  Number(src);
  GraphicBuffer dst(5, 4);
  GraphicBuffer::Blit(&src, &dst, {2, 1, 4, 3}, {1, 0, 3, 2});
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(PixelValues(dst), (std::vector<uint16_t>{0, 0, 0,   0,   0,  //
                                                     0, 0, 2,   3,   0,  //
                                                     0, 0, 102, 103, 0,  //
                                                     0, 0, 0,   0,   0}));

  // Different widths, then different heights: reported, and the part both share is copied.
  GraphicBuffer other(5, 4);
  GraphicBuffer::Blit(&src, &other, {0, 0, 3, 1}, {0, 0, 2, 1});
  EXPECT_EQ(Boxes(), Texts{u"GraphicBuffer::Blit 0"});
  const auto row = PixelValues(other);
  EXPECT_EQ(std::vector<uint16_t>(row.begin(), row.begin() + 3), (std::vector<uint16_t>{1, 2, 0}));
  GraphicBuffer::Blit(&src, &other, {0, 0, 1, 1}, {0, 0, 1, 2});
  EXPECT_EQ(Boxes(), Texts{u"GraphicBuffer::Blit 1"});

  GraphicBuffer none(0, 0);
  GraphicBuffer::Blit(&none, &dst, {0, 0, 1, 1}, {0, 0, 1, 1});
  GraphicBuffer::Blit(&src, nullptr, {0, 0, 1, 1}, {0, 0, 1, 1});
  EXPECT_EQ(Boxes(), (Texts{u"GraphicBuffer::Blit 14", u"GraphicBuffer::Blit 14"}));
}

TEST_F(GfxGraphicBuffer, CopiesKeepInsideBothBuffers) {
  GraphicBuffer src(3, 3);
  Number(src);

  // Hanging over each edge of the destination.
  GraphicBuffer dst(4, 4);
  GraphicBuffer::BlitAt(&src, &dst, -1, 2);
  GraphicBuffer::BlitAt(&src, &dst, 3, -2);
  EXPECT_EQ(PixelValues(dst), (std::vector<uint16_t>{0, 0, 0, 201,  //
                                                     0, 0, 0, 0,    //
                                                     2, 3, 0, 0,    //
                                                     102, 103, 0, 0}));
  // Far off: nothing, and no overflow on the way.
  GraphicBuffer::BlitAt(&src, &dst, INT32_MAX, INT32_MIN);
  GraphicBuffer::BlitAt(&src, &dst, 4, 0);

  // A source rectangle reaching out of the source: only the pixels it really has.
  GraphicBuffer dst2(4, 4);
  GraphicBuffer::Blit(&src, &dst2, {0, 0, 4, 4}, {-1, -1, 3, 3});
  EXPECT_EQ(PixelValues(dst2), (std::vector<uint16_t>{0, 0, 0, 0,        //
                                                      0, 1, 2, 3,        //
                                                      0, 101, 102, 103,  //
                                                      0, 201, 202, 203}));
  GraphicBuffer dst3(4, 4);
  GraphicBuffer::BlitKeyed(&src, &dst3, {2, 2}, {0, 0, 3, 3}, 0x07FF);
  EXPECT_EQ(std::make_pair(dst3.At(2, 2), dst3.At(3, 3)),
            std::make_pair(uint16_t{1}, uint16_t{102}));
  EXPECT_TRUE(Boxes().empty());

  // Within one row of one buffer, overlapping.
  GraphicBuffer::Blit(&src, &src, {1, 0, 3, 1}, {0, 0, 2, 1});
  EXPECT_EQ(PixelValues(src), (std::vector<uint16_t>{1, 1, 2, 101, 102, 103, 201, 202, 203}));

  GraphicBuffer none(0, 0);
  GraphicBuffer::BlitAt(&none, &dst, 0, 0);
  GraphicBuffer::BlitKeyed(nullptr, &dst, {0, 0}, {0, 0, 1, 1}, 0);
  EXPECT_EQ(Boxes(), (Texts{u"GraphicBuffer::Blit 15", u"GraphicBuffer::Blit 16"}));
}

TEST_F(GfxGraphicBuffer, DrawReportsBitmapsOutsideTheScreenArea) {
  CDibGraphicBuffer screen(240, 268);
  CFastBitmap full;
  full.Allocate(240, 268);
  GraphicBuffer::Fill(full.Pixels(), 0x4321);

  SetDrawTarget(nullptr);
  full.Draw(0, 0);
  EXPECT_EQ(Boxes(), Texts{u"CFastBitmap::Draw 2"});

  SetDrawTarget(&screen);
  full.Draw(0, 0);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(PixelValues(screen), std::vector<uint16_t>(240 * 268, 0x4321));

  // One pixel to the right: reported, and drawn as far as the target reaches.
  GraphicBuffer::Fill(&screen, 0);
  full.Draw(1, 0);
  EXPECT_EQ(Boxes(), Texts{u"CFastBitmap::Draw 01 "});
  EXPECT_EQ(std::tuple(screen.At(0, 0), screen.At(1, 0), screen.At(239, 267)),
            std::tuple(uint16_t{0}, uint16_t{0x4321}, uint16_t{0x4321}));

  full.Draw(241, 0);
  EXPECT_EQ(Boxes(), (Texts{u"CFastBitmap::Draw 0 ", u"CFastBitmap::Draw 01 "}));

  CFastBitmap small;
  small.Allocate(10, 10);
  small.Draw(230, 258);  // flush with the corner
  EXPECT_TRUE(Boxes().empty());

  CFastBitmap empty;
  empty.Draw(0, 0);
  EXPECT_EQ(Boxes(), Texts{u"CFastBitmap::Draw"});
  SetDrawTarget(nullptr);
}

TEST_F(GfxGraphicBuffer, LoadAndAllocateStartFromZeroedPixels) {
  ce::AddPackedImage(900201, PackContainer(Lz77Encode(std::vector<uint8_t>{0x34, 0x12})));
  CFastBitmap bitmap;
  bitmap.Allocate(2, 2);
  GraphicBuffer::Fill(bitmap.Pixels(), 0xFFFF);
  ASSERT_TRUE(bitmap.Load(u"900201", 3, 1));
  EXPECT_EQ(PixelValues(*bitmap.Pixels()), (std::vector<uint16_t>{0x1234, 0, 0}));

  // Nothing to decode into: quietly nothing.
  EXPECT_TRUE(bitmap.Load(u"900201", 0, 5));
  EXPECT_TRUE(Boxes().empty());

  // A missing image is reported and leaves a black bitmap of the size asked for.
  EXPECT_FALSE(bitmap.Load(u"900299", 2, 1));
  EXPECT_EQ(Boxes(), Texts{u"CFastBitmap::Load"});
  EXPECT_EQ(PixelValues(*bitmap.Pixels()), (std::vector<uint16_t>{0, 0}));
  ce::RemovePackedImage(900201);
}

}  // namespace
