// Points, sizes and rectangles in frame-buffer pixels, as the platform's API passes them.
#pragma once

#include <algorithm>
#include <cstdint>

namespace ce {

struct POINT {
  int32_t x = 0;
  int32_t y = 0;
  bool operator==(const POINT&) const = default;
};

struct SIZE {
  int32_t cx = 0;
  int32_t cy = 0;
  bool operator==(const SIZE&) const = default;
};

// Right and bottom are exclusive.
struct RECT {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  bool operator==(const RECT&) const = default;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int32_t x, int32_t y) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
};

inline RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return r.Empty() ? RECT{} : r;
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline RECT Union(const RECT& a, const RECT& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

inline RECT Offset(const RECT& r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The platform's packing of two 16-bit values into one message parameter.
constexpr uint16_t LOWORD(uintptr_t v) {
  return static_cast<uint16_t>(v & 0xFFFF);
}
constexpr uint16_t HIWORD(uintptr_t v) {
  return static_cast<uint16_t>((v >> 16) & 0xFFFF);
}
constexpr intptr_t MAKELPARAM(int32_t low, int32_t high) {
  return static_cast<intptr_t>((static_cast<uint32_t>(high & 0xFFFF) << 16) |
                               static_cast<uint32_t>(low & 0xFFFF));
}
constexpr uintptr_t MAKEWPARAM(int32_t low, int32_t high) {
  return static_cast<uintptr_t>(MAKELPARAM(low, high)) & 0xFFFFFFFFu;
}
// Signed coordinates from a mouse message's lParam.
constexpr int32_t GET_X_LPARAM(intptr_t lp) {
  return static_cast<int16_t>(lp & 0xFFFF);
}
constexpr int32_t GET_Y_LPARAM(intptr_t lp) {
  return static_cast<int16_t>((lp >> 16) & 0xFFFF);
}

}  // namespace ce
