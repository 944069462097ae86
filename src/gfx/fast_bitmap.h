// CFastBitmap: an image of known size, loaded from a packed image resource or allocated empty,
// drawn into the drawing target with a plain block copy.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/graphic_buffer.h"

class CFastBitmap {
 public:
  static constexpr int kNameLength = 26;

  CFastBitmap() = default;
  ~CFastBitmap();
  CFastBitmap(const CFastBitmap&) = delete;
  CFastBitmap& operator=(const CFastBitmap&) = delete;

  // Makes a zero-filled width x height bitmap and decodes the packed image of the decimal id
  // `name` into it. Decoded bytes beyond the bitmap are dropped; missing ones leave black. False,
  // after a "Fatal Error" report, when the image cannot be opened; the bitmap then stays black.
  bool Load(const char16_t* name, uint16_t width, uint16_t height);

  // Loads the embedded picture `image` (an id of ui/ids.h) at its own size.
  bool Load(uint32_t image);

  // Makes a zero-filled width x height bitmap.
  void Allocate(uint16_t width, uint16_t height);

  // Copies the whole bitmap to (x, y) of the drawing target. Reports a bitmap that does not fit
  // the 240 x 268 screen area and draws the part that fits the target.
  void Draw(uint16_t x, uint16_t y) const;

  GraphicBuffer* Pixels() const { return pixels_.get(); }
  uint16_t Width() const { return width_; }
  uint16_t Height() const { return height_; }
  const char16_t* Name() const { return name_; }

 private:
  std::unique_ptr<GraphicBuffer> pixels_;
  uint16_t width_ = 0;
  uint16_t height_ = 0;
  char16_t name_[kNameLength] = {};
};
