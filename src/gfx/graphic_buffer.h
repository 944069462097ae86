// 16-bit RGB 5-6-5 pixel buffers: the in-memory GraphicBuffer with its copy operations, the
// window-presentable CDibGraphicBuffer, the frame's pair of screen-sized buffers and the
// process-wide drawing target of CFastBitmap::Draw.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gdi.h"
#include "platform/types.h"

// A point of pixel coordinates, x to the right, y downwards.
struct GfxPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// A pixel rectangle; right and bottom are exclusive.
struct GfxRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

inline constexpr uint16_t kColourWhite = 0xFFFF;
inline constexpr uint16_t kColourBlack = 0x0000;
// The transparent background of sprite and button images.
inline constexpr uint16_t kColourCyan = 0x07FF;

class GraphicBuffer {
 public:
  // A zero-filled block of width x height pixels, rows 2 x width bytes apart. A width or height
  // below 1 gives an empty buffer without pixels.
  GraphicBuffer(int32_t width, int32_t height);
  virtual ~GraphicBuffer();
  GraphicBuffer(const GraphicBuffer&) = delete;
  GraphicBuffer& operator=(const GraphicBuffer&) = delete;

  // Whether the window system can show the pixels directly.
  virtual bool IsPresentable() const { return false; }

  uint16_t* Pixels() const { return pixels_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // Bytes from one row to the next.
  int32_t Stride() const { return stride_; }
  bool OwnsPixels() const { return owns_pixels_; }

  uint16_t* Row(int32_t y) const {
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(pixels_) +
                                       static_cast<ptrdiff_t>(y) * stride_);
  }
  uint16_t& At(int32_t x, int32_t y) const { return Row(y)[x]; }

  // Copy operations. Each keeps to both buffers: the part of a copy that would fall outside the
  // source or the destination is left out. Problems are reported as "Fatal Error" boxes.

  // Copies the source rectangle to the destination rectangle, which must have the same size
  // ("GraphicBuffer::Blit 0" for another width, "GraphicBuffer::Blit 1" for another height; the
  // part both share is copied). "GraphicBuffer::Blit 14" when either has no pixels.
  static void Blit(const GraphicBuffer* source, GraphicBuffer* destination,
                   const GfxRect& destination_rect, const GfxRect& source_rect);
  // Copies the whole source to (x, y). "GraphicBuffer::Blit 15" when either has no pixels.
  static void BlitAt(const GraphicBuffer* source, GraphicBuffer* destination, int32_t x, int32_t y);
  // Like Blit to a point, leaving out the source pixels of the key colour.
  // "GraphicBuffer::Blit 16" when either has no pixels.
  static void BlitKeyed(const GraphicBuffer* source, GraphicBuffer* destination,
                        const GfxPoint& destination_point, const GfxRect& source_rect,
                        uint16_t key);
  // Sets every pixel to the colour.
  static void Fill(GraphicBuffer* buffer, uint16_t colour);

 protected:
  // A buffer over pixels that somebody else keeps.
  GraphicBuffer(uint16_t* pixels, int32_t width, int32_t height, int32_t stride);

 private:
  std::unique_ptr<uint16_t[]> owned_;
  uint16_t* pixels_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t stride_ = 0;
  bool owns_pixels_ = false;
};

// A device-independent bitmap section: rows padded to whole 32-bit words, pixels that the
// window system can copy to a window with one block transfer.
class CDibGraphicBuffer : public GraphicBuffer {
 public:
  CDibGraphicBuffer(int32_t width, int32_t height);
  ~CDibGraphicBuffer() override;

  bool IsPresentable() const override { return section_ != nullptr; }
  ce::HBITMAP Section() const { return section_; }

  // 2 x width + 3 with the two lowest bits cleared.
  static int32_t PaddedStride(int32_t width);

  // Copies the rectangle (left, top)-(left + width, top + height) of the pixels to (x, y) of the
  // window's client area.
  void CopyToWindow(ce::HWND window, int32_t x, int32_t y, int32_t left, int32_t top, int32_t width,
                    int32_t height) const;

 private:
  struct SectionMemory {
    ce::HBITMAP bitmap = nullptr;
    uint16_t* pixels = nullptr;
  };
  CDibGraphicBuffer(SectionMemory section, int32_t width, int32_t height);

  ce::HBITMAP section_ = nullptr;
};

// The frame's two buffers: the main buffer, shown in the main window, and the screen buffer into
// which the screens draw and which they show in their dialogs.
class CScreenBuffers {
 public:
  static constexpr int32_t kScreenWidth = 240;
  static constexpr int32_t kScreenHeight = 268;

  // Both buffers get the screen area's size.
  explicit CScreenBuffers(ce::HWND main_window);
  ~CScreenBuffers();
  CScreenBuffers(const CScreenBuffers&) = delete;
  CScreenBuffers& operator=(const CScreenBuffers&) = delete;

  CDibGraphicBuffer* GetMainBuffer() const { return main_.get(); }
  CDibGraphicBuffer* GetScreenBuffer() const { return screen_.get(); }
  ce::HWND MainWindow() const { return main_window_; }

  // Shows the main buffer in the main window at (0, 0).
  void Present();
  // Shows the screen buffer in the window at (0, 0).
  void PresentTo(ce::HWND window);
  // Shows the screen buffer's rectangle (left, top)-(right, bottom) in the window at (x, y).
  void PresentPart(ce::HWND window, int32_t x, int32_t y, int32_t left, int32_t top, int32_t right,
                   int32_t bottom);

 private:
  std::unique_ptr<CDibGraphicBuffer> main_;
  std::unique_ptr<CDibGraphicBuffer> screen_;
  ce::HWND main_window_ = nullptr;
};

// The buffer CFastBitmap::Draw draws into: the main buffer at start-up, then the screen buffer
// or the main buffer as each screen chooses when it is activated.
void SetDrawTarget(GraphicBuffer* buffer);
GraphicBuffer* GetDrawTarget();
