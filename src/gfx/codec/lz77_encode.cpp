#include <algorithm>
#include <cstring>
#include <limits>

#include "gfx/codec/lz77.h"

namespace {

constexpr uint32_t kLiteralBits = 9;
constexpr uint32_t kMatchBits = 15;
// Matches that reach this far back can be copied in whole 16-byte blocks by the decoder.
constexpr size_t kFarDistance = 32;

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}

  void Put(uint32_t value, uint32_t bits) {
    acc_ = (acc_ << bits) | value;
    count_ += bits;
    while (count_ >= 8) {
      count_ -= 8;
      out_.push_back(static_cast<uint8_t>(acc_ >> count_));
    }
    acc_ &= (uint64_t{1} << count_) - 1;
  }

  // Pads the last byte with zero bits. The payload then ends in the byte that holds the last
  // token's final bit, so that token starts before the last byte and is the one during which the
  // decoder loads it: exactly every token is decoded and nothing after it.
  void Finish() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(acc_ << (8 - count_)));
    count_ = 0;
    acc_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t acc_ = 0;
  uint32_t count_ = 0;
};

struct Match {
  uint8_t length = 0;     // longest match at this position, 0 or 1 when none is worth it
  uint16_t distance = 0;  // a distance (1..512) that achieves it
};

// For every input position, the longest match within the window, preferring far distances among
// equally long ones. The input is searched behind 512 zero bytes, which is the window the decoder
// starts with, so zero runs at the start are matched too. Candidates come from chains of the
// positions that share the next two bytes; a 512-byte window keeps the chains short.
std::vector<Match> FindMatches(std::span<const uint8_t> data) {
  const size_t n = data.size();
  std::vector<uint8_t> buf(kLz77Window + n, 0);
  std::memcpy(buf.data() + kLz77Window, data.data(), n);

  constexpr int32_t kNone = -1;
  std::vector<int32_t> head(1 << 16, kNone);
  std::vector<int32_t> prev(buf.size(), kNone);
  auto pair_at = [&buf](size_t p) { return (uint32_t{buf[p]} << 8) | buf[p + 1]; };
  auto insert = [&](size_t p) {
    const uint32_t h = pair_at(p);
    prev[p] = head[h];
    head[h] = static_cast<int32_t>(p);
  };
  for (size_t p = 0; p < kLz77Window && p + 1 < buf.size(); ++p) insert(p);

  std::vector<Match> matches(n);
  for (size_t i = 0; i + 1 < n; ++i) {
    const size_t p = kLz77Window + i;
    const size_t limit = std::min(kLz77MaxMatch, n - i);
    const uint8_t* cur = buf.data() + p;
    size_t best_len = 0;
    size_t best_dist = 0;
    for (int32_t q = head[pair_at(p)]; q != kNone && p - static_cast<size_t>(q) <= kLz77Window;
         q = prev[q]) {
      const uint8_t* cand = buf.data() + q;
      const size_t dist = p - static_cast<size_t>(q);
      // A candidate can only win by reaching one byte further than the best, or, while the best
      // is a near one, by being as long and farther back: test the one byte that decides first.
      const bool want_far = best_dist < kFarDistance;
      if (best_len > 0) {
        const size_t probe = want_far ? best_len - 1 : best_len;
        if (probe >= limit || cand[probe] != cur[probe]) continue;
      }
      size_t len = 0;
      while (len < limit && cand[len] == cur[len]) ++len;
      if (len > best_len || (len == best_len && want_far)) {
        best_len = len;
        best_dist = dist;
      }
      if (best_len == limit && best_dist >= kFarDistance) break;
    }
    matches[i] = {static_cast<uint8_t>(best_len), static_cast<uint16_t>(best_dist)};
    insert(p);
  }
  return matches;
}

}  // namespace

std::vector<uint8_t> Lz77Encode(std::span<const uint8_t> data) {
  std::vector<uint8_t> payload;
  const size_t n = data.size();
  if (n == 0) return payload;

  const std::vector<Match> matches = FindMatches(data);

  // Shortest parse by dynamic programming from the end: cost[i] encodes input[i..n). Costs are
  // compared as (bits, tokens) so that among parses of equal size the one with fewer tokens,
  // which decodes faster, wins.
  auto cost_of = [](uint64_t bits, uint64_t tokens) { return (bits << 32) | tokens; };
  const uint64_t literal_cost = cost_of(kLiteralBits, 1);
  const uint64_t match_cost = cost_of(kMatchBits, 1);
  std::vector<uint64_t> cost(n + 1, 0);
  std::vector<uint8_t> step(n, 1);
  for (size_t i = n; i-- > 0;) {
    uint64_t best = cost[i + 1] + literal_cost;
    uint8_t best_step = 1;
    for (size_t len = 2; len <= matches[i].length; ++len) {
      const uint64_t c = cost[i + len] + match_cost;
      if (c < best) {
        best = c;
        best_step = static_cast<uint8_t>(len);
      }
    }
    cost[i] = best;
    step[i] = best_step;
  }

  payload.reserve(static_cast<size_t>((cost[0] >> 32) / 8 + 1));
  BitWriter writer(payload);
  for (size_t i = 0; i < n;) {
    const size_t len = step[i];
    if (len == 1) {
      writer.Put(0x100u | data[i], kLiteralBits);
    } else {
      const uint32_t position = static_cast<uint32_t>(kLz77Window - matches[i].distance);
      writer.Put((static_cast<uint32_t>(len - 1) << 9) | position, kMatchBits);
    }
    i += len;
  }
  writer.Finish();
  return payload;
}

std::vector<uint8_t> PackContainer(std::span<const uint8_t> payload) {
  std::vector<uint8_t> out(4 + payload.size());
  const auto n = static_cast<uint32_t>(payload.size());
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(n >> (8 * i));
  if (!payload.empty()) std::memcpy(out.data() + 4, payload.data(), payload.size());
  return out;
}

std::optional<std::span<const uint8_t>> ContainerPayload(std::span<const uint8_t> container) {
  if (container.size() < 4) return std::nullopt;
  uint32_t n = 0;
  for (int i = 0; i < 4; ++i) n |= uint32_t{container[i]} << (8 * i);
  const size_t available = container.size() - 4;
  return container.subspan(4, std::min<size_t>(n, available));
}
