// Any byte string compresses to a payload that decodes, by both decoders, to exactly itself.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gfx/codec/lz77.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  const std::vector<uint8_t> payload = Lz77Encode(input);
  if (payload.size() > (9 * size + 7) / 8) std::abort();  // never worse than all literals

  std::vector<uint8_t> out(size);
  if (Lz77Inflate(payload, out) != size) std::abort();
  if (!std::equal(out.begin(), out.end(), input.begin())) std::abort();
  const std::vector<uint8_t> reference = Lz77InflateReference(payload);
  if (!std::equal(reference.begin(), reference.end(), input.begin(), input.end())) std::abort();
  return 0;
}
