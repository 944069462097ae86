// Custom resources of the program's module. The only custom type in use is "KKK", the packed
// images; they are found by their numeric id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ce {

// The bytes of the resource of the given type and id, or nothing when the module has none.
// Only the type u"KKK" exists. The bytes stay valid for the life of the process, or until an
// added resource of the same id is removed.
std::optional<std::span<const uint8_t>> FindCustomResource(std::u16string_view type, uint32_t id);

// The width and height of an embedded packed image, as the build read them from its picture;
// false when the module carries no such picture.
bool PackedImageSize(uint32_t id, uint16_t* width, uint16_t* height);

// Ids of every packed image the module carries, ascending.
std::vector<uint32_t> PackedImageIds();

// Adds (or replaces) a packed image at run time. The program itself ships all its images
// embedded; this lets tools and tests load streams they built themselves through the same path.
void AddPackedImage(uint32_t id, std::vector<uint8_t> bytes);
void RemovePackedImage(uint32_t id);

}  // namespace ce
