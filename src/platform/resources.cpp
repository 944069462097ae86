#include "platform/resources.h"

#include <algorithm>
#include <map>

#include "platform/embedded_resources.h"

namespace ce {
namespace {

std::map<uint32_t, std::vector<uint8_t>>& AddedImages() {
  static std::map<uint32_t, std::vector<uint8_t>> images;
  return images;
}

}  // namespace

std::optional<std::span<const uint8_t>> FindCustomResource(std::u16string_view type, uint32_t id) {
  if (type != u"KKK") return std::nullopt;
  if (auto it = AddedImages().find(id); it != AddedImages().end()) {
    return std::span<const uint8_t>(it->second);
  }
  for (const EmbeddedResource& r : EmbeddedPackedImages()) {
    if (r.id == id) return std::span<const uint8_t>(r.begin, r.end);
  }
  return std::nullopt;
}

bool PackedImageSize(uint32_t id, uint16_t* width, uint16_t* height) {
  for (const EmbeddedResource& r : EmbeddedPackedImages()) {
    if (r.id != id) continue;
    *width = r.width;
    *height = r.height;
    return true;
  }
  return false;
}

std::vector<uint32_t> PackedImageIds() {
  std::vector<uint32_t> ids;
  for (const EmbeddedResource& r : EmbeddedPackedImages()) ids.push_back(r.id);
  for (const auto& [id, bytes] : AddedImages()) ids.push_back(id);
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

void AddPackedImage(uint32_t id, std::vector<uint8_t> bytes) {
  AddedImages()[id] = std::move(bytes);
}

void RemovePackedImage(uint32_t id) {
  AddedImages().erase(id);
}

}  // namespace ce
