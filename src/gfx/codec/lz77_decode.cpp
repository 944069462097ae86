#include <algorithm>
#include <cstring>

#include "gfx/codec/lz77.h"

namespace {

// Every bit before this one may start a token; see the end rule in the header.
uint64_t TokenStartLimit(size_t payload_size) {
  return payload_size < 2 ? 0 : 8 * static_cast<uint64_t>(payload_size - 1);
}

inline uint32_t LoadBigEndian32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return __builtin_bswap32(v);
}

// The next 16 bits at bit offset `bit`, reading zeros past the payload.
inline uint32_t PeekBitsSafe(std::span<const uint8_t> payload, uint64_t bit) {
  const uint64_t byte = bit >> 3;
  uint32_t v = 0;
  for (uint64_t k = 0; k < 3; ++k) {
    v <<= 8;
    if (byte + k < payload.size()) v |= payload[byte + k];
  }
  return (v << (8 + (bit & 7))) >> 16;
}

// Smallest multiple of a distance below 8 that is at least 8: bytes that far back repeat the
// pattern of a short-distance match and can be copied 8 at a time.
constexpr uint8_t kPatternPeriod[8] = {0, 8, 8, 9, 8, 10, 12, 14};

// Copies a 32-byte match block from `distance` back, `distance` <= bytes already written before
// dst. Writes all 32 bytes even when the match is shorter; the caller guarantees the extra bytes
// lie inside the output and are overwritten by later tokens.
inline void CopyMatch32(uint8_t* dst, size_t distance) {
  const uint8_t* src = dst - distance;
  if (distance >= 16) {
    std::memcpy(dst, src, 16);
    std::memcpy(dst + 16, src + 16, 16);
  } else if (distance >= 8) {
    std::memcpy(dst, src, 8);
    std::memcpy(dst + 8, src + 8, 8);
    std::memcpy(dst + 16, src + 16, 8);
    std::memcpy(dst + 24, src + 24, 8);
  } else {
    for (size_t k = 0; k < 8; ++k) dst[k] = src[k];
    const size_t period = kPatternPeriod[distance];
    std::memcpy(dst + 8, dst + 8 - period, 8);
    std::memcpy(dst + 16, dst + 16 - period, 8);
    std::memcpy(dst + 24, dst + 24 - period, 8);
  }
}

}  // namespace

size_t Lz77Inflate(std::span<const uint8_t> payload, std::span<uint8_t> out) {
  const uint64_t limit = TokenStartLimit(payload.size());
  const uint8_t* in = payload.data();
  uint8_t* const dst = out.data();
  const size_t capacity = out.size();
  uint64_t bit = 0;
  size_t op = 0;

  // Fast loop. Its conditions make every shortcut safe: a token starting 495 bits or more before
  // the limit is followed by at least 32 more tokens (each at most 15 bits) and so by at least 32
  // more output bytes, which cover whatever a 32-byte block copy wrote past the match; the 4-byte
  // load stays well inside the payload; the block copy stays inside out.
  constexpr uint64_t kFollowingTokensBits = 15 * 33;
  const uint64_t fast_limit = limit > kFollowingTokensBits ? limit - kFollowingTokensBits : 0;
  while (bit < fast_limit && op + kLz77MaxMatch <= capacity) {
    const uint32_t w = LoadBigEndian32(in + (bit >> 3)) << (bit & 7);
    if (w & 0x80000000u) {
      dst[op++] = static_cast<uint8_t>(w >> 23);
      bit += 9;
      continue;
    }
    const size_t len = ((w >> 26) & 31) + 1;
    const size_t distance = kLz77Window - ((w >> 17) & 511);
    bit += 15;
    if (distance <= op) {
      CopyMatch32(dst + op, distance);
    } else {
      // Only near the start: the window still holds some of its initial zeros.
      for (size_t k = 0; k < len; ++k, ++op) dst[op] = op >= distance ? dst[op - distance] : 0;
      continue;
    }
    op += len;
  }

  // The last tokens and a nearly full output: exact copies and bounded reads.
  while (bit < limit && op < capacity) {
    const uint32_t v = PeekBitsSafe(payload, bit);
    if (v & 0x8000u) {
      dst[op++] = static_cast<uint8_t>(v >> 7);
      bit += 9;
      continue;
    }
    const size_t len = ((v >> 10) & 31) + 1;
    const size_t distance = kLz77Window - ((v >> 1) & 511);
    bit += 15;
    const size_t end = std::min(capacity, op + len);
    for (; op < end; ++op) dst[op] = op >= distance ? dst[op - distance] : 0;
  }
  return op;
}

namespace {

// The reader as the format describes it: one current byte taken bit by bit from bit 7 down, the
// next byte loaded when bit 0 has been used, and the end flag raised when the loaded byte is the
// payload's last. Bits asked for once the current byte is used up read as 0.
class ReferenceReader {
 public:
  explicit ReferenceReader(std::span<const uint8_t> payload) : payload_(payload) {
    current_ = payload.empty() ? 0 : payload[0];
    end_ = next_ >= payload.size();
  }

  bool End() const { return end_; }

  uint32_t Read(int n) {
    uint32_t value = 0;
    for (int k = 0; k < n; ++k) {
      const uint32_t b = (index_ >= 0 && index_ <= 7) ? (current_ >> index_) & 1u : 0u;
      value = value * 2 + b;
      const int was = index_--;
      if (was == 0 && !end_) {
        current_ = payload_[next_++];
        if (next_ == payload_.size()) end_ = true;
        index_ = 7;
      }
    }
    return value;
  }

 private:
  std::span<const uint8_t> payload_;
  size_t next_ = 1;
  uint8_t current_ = 0;
  int index_ = 7;
  bool end_ = false;
};

}  // namespace

std::vector<uint8_t> Lz77InflateReference(std::span<const uint8_t> payload) {
  // The window is the last 512 bytes of `history`, which starts as 512 zeros.
  std::vector<uint8_t> history(kLz77Window, 0);
  ReferenceReader reader(payload);
  if (!reader.End()) {
    do {
      if (reader.Read(1) == 1) {
        history.push_back(static_cast<uint8_t>(reader.Read(8)));
      } else {
        const uint32_t length = reader.Read(5) + 1;
        const uint32_t position = reader.Read(9);
        for (uint32_t k = 0; k < length; ++k) {
          history.push_back(history[history.size() - kLz77Window + position]);
        }
      }
    } while (!reader.End());
  }
  return std::vector<uint8_t>(history.begin() + kLz77Window, history.end());
}
