// Any byte string as a payload, decoded into a destination of any size: the fast decoder must
// stay inside the destination, leave the bytes after its output alone, and produce exactly what
// the reference decoder does, cut to the destination.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "gfx/codec/lz77.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the destination's size, up to 64 KiB.
  const size_t capacity = size_t{data[0]} << 8 | data[1];
  const std::span<const uint8_t> payload(data + 2, size - 2);

  // Exactly `capacity` bytes plus a guard, so that the sanitizer sees any write past the end and
  // the guard shows writes past the output that stay inside.
  constexpr uint8_t kUntouched = 0x5A;
  auto out = std::make_unique<uint8_t[]>(capacity + 1);
  std::memset(out.get(), kUntouched, capacity + 1);
  const size_t produced = Lz77Inflate(payload, std::span<uint8_t>(out.get(), capacity));

  const std::vector<uint8_t> reference = Lz77InflateReference(payload);
  const size_t want = std::min(reference.size(), capacity);
  if (produced != want) std::abort();
  if (!std::equal(reference.begin(), reference.begin() + static_cast<ptrdiff_t>(want), out.get())) {
    std::abort();
  }
  for (size_t i = produced; i <= capacity; ++i) {
    if (out[i] != kUntouched) std::abort();
  }
  return 0;
}
