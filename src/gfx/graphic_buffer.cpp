#include "gfx/graphic_buffer.h"

#include <algorithm>
#include <cstring>

#include "platform/message_box.h"

namespace {

// A copy of w x h pixels from (sx, sy) of one buffer to (dx, dy) of another.
struct CopyPlan {
  int32_t sx = 0, sy = 0, dx = 0, dy = 0, w = 0, h = 0;
};

// Cuts a copy down to the part that lies inside both buffers; false when nothing is left.
// Computed in 64 bits so that far-off coordinates cannot overflow.
bool ClipCopy(const GraphicBuffer& src, const GraphicBuffer& dst, int64_t sx, int64_t sy,
              int64_t dx, int64_t dy, int64_t w, int64_t h, CopyPlan& plan) {
  auto clip_axis = [](int64_t& s, int64_t& d, int64_t& len, int64_t s_size, int64_t d_size) {
    const int64_t cut = std::max<int64_t>({0, -s, -d});
    s += cut;
    d += cut;
    len -= cut;
    len = std::min({len, s_size - s, d_size - d});
    return len > 0;
  };
  if (!clip_axis(sx, dx, w, src.Width(), dst.Width())) return false;
  if (!clip_axis(sy, dy, h, src.Height(), dst.Height())) return false;
  plan = {static_cast<int32_t>(sx), static_cast<int32_t>(sy), static_cast<int32_t>(dx),
          static_cast<int32_t>(dy), static_cast<int32_t>(w),  static_cast<int32_t>(h)};
  return true;
}

void CopyRows(const GraphicBuffer& src, GraphicBuffer& dst, const CopyPlan& p) {
  const size_t bytes = static_cast<size_t>(p.w) * 2;
  for (int32_t row = 0; row < p.h; ++row) {
    // memmove: a buffer may be copied onto itself.
    std::memmove(dst.Row(p.dy + row) + p.dx, src.Row(p.sy + row) + p.sx, bytes);
  }
}

bool HasPixels(const GraphicBuffer* b) {
  return b && b->Pixels();
}

GraphicBuffer*& DrawTarget() {
  static GraphicBuffer* target = nullptr;
  return target;
}

}  // namespace

GraphicBuffer::GraphicBuffer(int32_t width, int32_t height) {
  if (width < 1 || height < 1) return;
  owned_ = std::make_unique<uint16_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height));
  pixels_ = owned_.get();
  width_ = width;
  height_ = height;
  stride_ = 2 * width;
  owns_pixels_ = true;
}

GraphicBuffer::GraphicBuffer(uint16_t* pixels, int32_t width, int32_t height, int32_t stride)
    : pixels_(pixels), width_(width), height_(height), stride_(stride) {}

GraphicBuffer::~GraphicBuffer() = default;

void GraphicBuffer::Blit(const GraphicBuffer* source, GraphicBuffer* destination,
                         const GfxRect& destination_rect, const GfxRect& source_rect) {
  const int64_t sw = int64_t{source_rect.right} - source_rect.left;
  const int64_t sh = int64_t{source_rect.bottom} - source_rect.top;
  const int64_t dw = int64_t{destination_rect.right} - destination_rect.left;
  const int64_t dh = int64_t{destination_rect.bottom} - destination_rect.top;
  if (sw != dw) ce::ReportFatalError(u"GraphicBuffer::Blit 0");
  if (sh != dh) ce::ReportFatalError(u"GraphicBuffer::Blit 1");
  if (!HasPixels(source) || !HasPixels(destination)) {
    ce::ReportFatalError(u"GraphicBuffer::Blit 14");
    return;
  }
  CopyPlan plan;
  if (ClipCopy(*source, *destination, source_rect.left, source_rect.top, destination_rect.left,
               destination_rect.top, std::min(sw, dw), std::min(sh, dh), plan)) {
    CopyRows(*source, *destination, plan);
  }
}

void GraphicBuffer::BlitAt(const GraphicBuffer* source, GraphicBuffer* destination, int32_t x,
                           int32_t y) {
  if (!HasPixels(source) || !HasPixels(destination)) {
    ce::ReportFatalError(u"GraphicBuffer::Blit 15");
    return;
  }
  CopyPlan plan;
  if (ClipCopy(*source, *destination, 0, 0, x, y, source->Width(), source->Height(), plan)) {
    CopyRows(*source, *destination, plan);
  }
}

void GraphicBuffer::BlitKeyed(const GraphicBuffer* source, GraphicBuffer* destination,
                              const GfxPoint& destination_point, const GfxRect& source_rect,
                              uint16_t key) {
  if (!HasPixels(source) || !HasPixels(destination)) {
    ce::ReportFatalError(u"GraphicBuffer::Blit 16");
    return;
  }
  CopyPlan p;
  if (!ClipCopy(*source, *destination, source_rect.left, source_rect.top, destination_point.x,
                destination_point.y, int64_t{source_rect.right} - source_rect.left,
                int64_t{source_rect.bottom} - source_rect.top, p)) {
    return;
  }
  for (int32_t row = 0; row < p.h; ++row) {
    const uint16_t* s = source->Row(p.sy + row) + p.sx;
    uint16_t* d = destination->Row(p.dy + row) + p.dx;
    for (int32_t col = 0; col < p.w; ++col) {
      if (s[col] != key) d[col] = s[col];
    }
  }
}

void GraphicBuffer::Fill(GraphicBuffer* buffer, uint16_t colour) {
  if (!HasPixels(buffer)) return;
  const auto low = static_cast<uint8_t>(colour);
  const auto high = static_cast<uint8_t>(colour >> 8);
  if (low == high && buffer->Stride() >= 2 * buffer->Width()) {
    // One byte value: the whole block, row padding included, in one go.
    std::memset(buffer->Pixels(), low,
                static_cast<size_t>(buffer->Stride()) * static_cast<size_t>(buffer->Height()));
    return;
  }
  for (int32_t y = 0; y < buffer->Height(); ++y) {
    std::fill_n(buffer->Row(y), buffer->Width(), colour);
  }
}

int32_t CDibGraphicBuffer::PaddedStride(int32_t width) {
  return (2 * width + 3) & ~3;
}

CDibGraphicBuffer::CDibGraphicBuffer(int32_t width, int32_t height)
    : CDibGraphicBuffer(
          [&] {
            SectionMemory section;
            if (width >= 1 && height >= 1) {
              section.bitmap = ce::CreateDIBSection565(width, height, &section.pixels, nullptr);
            }
            return section;
          }(),
          width, height) {}

CDibGraphicBuffer::CDibGraphicBuffer(SectionMemory section, int32_t width, int32_t height)
    : GraphicBuffer(section.pixels, section.pixels ? width : 0, section.pixels ? height : 0,
                    section.pixels ? PaddedStride(width) : 0),
      section_(section.bitmap) {}

CDibGraphicBuffer::~CDibGraphicBuffer() {
  if (section_ != nullptr) ce::DeleteObject(section_);
}

void CDibGraphicBuffer::CopyToWindow(ce::HWND window, int32_t x, int32_t y, int32_t left,
                                     int32_t top, int32_t width, int32_t height) const {
  if (section_ == nullptr || !ce::IsWindow(window)) return;
  ce::HDC dc = ce::GetDC(window);
  ce::HDC memory = ce::CreateCompatibleDC(dc);
  ce::SelectObject(memory, section_);
  ce::BitBlt(dc, x, y, width, height, memory, left, top, ce::SRCCOPY);
  ce::DeleteDC(memory);
  ce::ReleaseDC(window, dc);
}

CScreenBuffers::CScreenBuffers(ce::HWND main_window)
    : main_(std::make_unique<CDibGraphicBuffer>(kScreenWidth, kScreenHeight)),
      screen_(std::make_unique<CDibGraphicBuffer>(kScreenWidth, kScreenHeight)),
      main_window_(main_window) {}

CScreenBuffers::~CScreenBuffers() {
  // A drawing target must never outlive its buffer.
  if (GetDrawTarget() == main_.get() || GetDrawTarget() == screen_.get()) SetDrawTarget(nullptr);
}

void CScreenBuffers::Present() {
  main_->CopyToWindow(main_window_, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
}

void CScreenBuffers::PresentTo(ce::HWND window) {
  screen_->CopyToWindow(window, 0, 0, 0, 0, kScreenWidth, kScreenHeight);
}

void CScreenBuffers::PresentPart(ce::HWND window, int32_t x, int32_t y, int32_t left, int32_t top,
                                 int32_t right, int32_t bottom) {
  screen_->CopyToWindow(window, x, y, left, top, right - left, bottom - top);
}

void SetDrawTarget(GraphicBuffer* buffer) {
  DrawTarget() = buffer;
}
GraphicBuffer* GetDrawTarget() {
  return DrawTarget();
}
