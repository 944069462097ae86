#include "gfx/fast_bitmap.h"

#include <span>
#include <string>

#include "gfx/bit_file.h"
#include "platform/message_box.h"
#include "platform/resources.h"

CFastBitmap::~CFastBitmap() = default;

bool CFastBitmap::Load(const char16_t* name, uint16_t width, uint16_t height) {
  Allocate(width, height);
  int length = 0;
  if (name) {
    for (; length < kNameLength - 1 && name[length]; ++length) name_[length] = name[length];
  }
  name_[length] = 0;

  // The memory files take narrow names; anything outside ASCII cannot be a decimal id anyway.
  std::string id;
  for (const char16_t* p = name_; *p; ++p) id.push_back(*p < 0x80 ? static_cast<char>(*p) : '?');

  // An empty bitmap still gets a destination, of no room, so that its decoded bytes are
  // dropped quietly like any surplus.
  static uint8_t no_room;
  std::span<uint8_t> destination(&no_room, 0);
  if (pixels_->Pixels()) {
    destination = {reinterpret_cast<uint8_t*>(pixels_->Pixels()),
                   static_cast<size_t>(width) * height * 2};
  }
  CMemoryLikeFile::reset();
  SetBitFileDestination(destination);
  std::unique_ptr<BitFile> reader = OpenBitFile(id.c_str(), "r");
  std::unique_ptr<BitFile> writer = reader ? OpenBitFile("", "w") : nullptr;
  SetBitFileDestination({});
  if (!reader || !writer) {
    CloseBitFile(std::move(reader));
    ce::ReportFatalError(u"CFastBitmap::Load");
    return false;
  }
  Lz77Decode(reader.get(), writer.get());
  CloseBitFile(std::move(writer));
  CloseBitFile(std::move(reader));
  return true;
}

bool CFastBitmap::Load(uint32_t image) {
  uint16_t width = 0, height = 0;
  // A picture the program does not carry gets no size, and the load reports it.
  ce::PackedImageSize(image, &width, &height);
  const std::string digits = std::to_string(image);
  const std::u16string name(digits.begin(), digits.end());
  return Load(name.c_str(), width, height);
}

void CFastBitmap::Allocate(uint16_t width, uint16_t height) {
  width_ = width;
  height_ = height;
  pixels_.reset();
  pixels_ = std::make_unique<GraphicBuffer>(width, height);
}

void CFastBitmap::Draw(uint16_t x, uint16_t y) const {
  constexpr int kAreaWidth = CScreenBuffers::kScreenWidth;
  constexpr int kAreaHeight = CScreenBuffers::kScreenHeight;
  if (x > kAreaWidth || y > kAreaHeight) ce::ReportFatalError(u"CFastBitmap::Draw 0 ");
  if (x + width_ > kAreaWidth || y + height_ > kAreaHeight) {
    ce::ReportFatalError(u"CFastBitmap::Draw 01 ");
  }
  if (!pixels_) {
    ce::ReportFatalError(u"CFastBitmap::Draw");
    return;
  }
  GraphicBuffer* target = GetDrawTarget();
  if (!target) {
    ce::ReportFatalError(u"CFastBitmap::Draw 2");
    return;
  }
  GraphicBuffer::BlitAt(pixels_.get(), target, x, y);
}
