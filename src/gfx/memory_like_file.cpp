#include "gfx/memory_like_file.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/message_box.h"
#include "platform/resources.h"

namespace {

struct Slot {
  const uint8_t* data = nullptr;   // a read file's resource, or a write file's destination
  uint8_t* destination = nullptr;  // the same pointer, writable, for a write file only
  bool open = false;
  char mode = 'r';
  uint32_t position = 0;
  uint32_t size = 0;  // read: payload length + 4 (as far as the resource goes); write: capacity
};

struct Table {
  Slot slots[CMemoryLikeFile::kSlots];
  CMemoryLikeFile::File numbers[CMemoryLikeFile::kSlots] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  int open_count = 0;
};

Table& TheTable() {
  static Table table;
  return table;
}

// The slot of a handle, or null for a pointer that is not a table entry or whose entry is free
// (a handle kept across its close or a reset).
Slot* SlotOf(const CMemoryLikeFile::File* file) {
  Table& t = TheTable();
  for (int i = 0; i < CMemoryLikeFile::kSlots; ++i) {
    if (file == &t.numbers[i]) {
      const int slot = t.numbers[i];
      return slot >= 0 && slot < CMemoryLikeFile::kSlots && t.slots[slot].open ? &t.slots[slot]
                                                                               : nullptr;
    }
  }
  return nullptr;
}

std::optional<uint32_t> ParseDecimalId(const char* name) {
  if (!name || !*name) return std::nullopt;
  uint64_t value = 0;
  for (const char* p = name; *p; ++p) {
    if (*p < '0' || *p > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(*p - '0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

// Item size times count, or SIZE_MAX when the product does not fit (more than any slot holds).
size_t WantedBytes(size_t item_size, size_t count) {
  size_t wanted = 0;
  return __builtin_mul_overflow(item_size, count, &wanted) ? SIZE_MAX : wanted;
}

size_t Available(const Slot& s) {
  return s.position < s.size ? s.size - s.position : 0;
}

}  // namespace

CMemoryLikeFile::File* CMemoryLikeFile::fopen(const char* name, const char* mode) {
  Table& t = TheTable();
  if (!mode || (mode[0] != 'r' && mode[0] != 'w')) return nullptr;
  if (t.open_count >= kSlots) return nullptr;
  int index = 0;
  while (index < kSlots && t.numbers[index] != -1) ++index;
  if (index == kSlots) return nullptr;

  Slot s;
  s.open = true;
  s.mode = mode[0];
  if (s.mode == 'r') {
    const std::optional<uint32_t> id = ParseDecimalId(name);
    if (!id) return nullptr;
    const std::optional<std::span<const uint8_t>> bytes = ce::FindCustomResource(u"KKK", *id);
    if (!bytes) return nullptr;
    uint32_t payload = 0;
    if (bytes->size() >= 4) {
      for (int i = 0; i < 4; ++i) payload |= uint32_t{(*bytes)[i]} << (8 * i);
    }
    // The length field is trusted only as far as the resource reaches, so that a damaged
    // resource cannot send reads past its end.
    const uint64_t claimed = uint64_t{payload} + 4;
    s.data = bytes->data();
    s.size = static_cast<uint32_t>(std::min<uint64_t>({claimed, bytes->size(), UINT32_MAX}));
    s.position = 4;
  }
  t.slots[index] = s;
  t.numbers[index] = index;
  ++t.open_count;
  return &t.numbers[index];
}

void CMemoryLikeFile::SetWriteBlock(uint8_t* destination, uint32_t capacity, File* file) {
  Slot* s = SlotOf(file);
  if (!s) return;
  s->data = destination;
  s->destination = s->mode == 'w' ? destination : nullptr;
  s->size = destination ? capacity : 0;
}

size_t CMemoryLikeFile::fread(void* buffer, size_t item_size, size_t count, File* file) {
  Slot* s = SlotOf(file);
  if (!s) {
    ce::ReportFatalError(u"CMemoryLikeFile::fread");
    return 0;
  }
  const size_t wanted = WantedBytes(item_size, count);
  const size_t available = Available(*s);
  if (wanted <= available) {
    if (wanted > 0) std::memcpy(buffer, s->data + s->position, wanted);
    s->position += static_cast<uint32_t>(wanted);
    return count;
  }
  if (available == 0) return 0;
  std::memcpy(buffer, s->data + s->position, available);
  s->position += static_cast<uint32_t>(available);
  if (available % item_size != 0) ce::ReportFatalError(u"CMemoryLikeFile::fread 3");
  return available / item_size;
}

size_t CMemoryLikeFile::fwrite(const void* buffer, size_t item_size, size_t count, File* file) {
  Slot* s = SlotOf(file);
  if (!s) {
    ce::ReportFatalError(u"CMemoryLikeFile::fwrite");
    return 0;
  }
  if (!s->destination) {
    ce::ReportFatalError(u"CMemoryLikeFile::fwrite 2");
    return 0;
  }
  const size_t wanted = WantedBytes(item_size, count);
  const size_t available = Available(*s);
  if (wanted <= available) {
    if (wanted > 0) std::memcpy(s->destination + s->position, buffer, wanted);
    s->position += static_cast<uint32_t>(wanted);
    return count;
  }
  if (available == 0) return 0;
  std::memcpy(s->destination + s->position, buffer, available);
  s->position += static_cast<uint32_t>(available);
  if (available % item_size != 0) ce::ReportFatalError(u"CMemoryLikeFile::fwrite 3");
  return available / item_size;
}

int CMemoryLikeFile::fclose(File* file) {
  Table& t = TheTable();
  if (!SlotOf(file)) {
    // Closing twice, or a handle from before a reset: there is no slot to clear, and clearing
    // whatever the stale number points at would close somebody else's file.
    ce::ReportFatalError(u"CMemoryLikeFile::fclose 2");
    return -1;
  }
  const int slot = *file;
  if (slot >= t.open_count) ce::ReportFatalError(u"CMemoryLikeFile::fclose 1");
  t.slots[slot] = Slot{};
  *file = -1;
  --t.open_count;
  return 0;
}

void CMemoryLikeFile::reset() {
  TheTable() = Table{};
}

bool CMemoryLikeFile::IsOpen(const File* file) {
  return SlotOf(file) != nullptr;
}

int CMemoryLikeFile::OpenCount() {
  return TheTable().open_count;
}

uint32_t CMemoryLikeFile::Position(const File* file) {
  const Slot* s = SlotOf(file);
  return s ? s->position : 0;
}

std::span<const uint8_t> CMemoryLikeFile::Contents(const File* file) {
  const Slot* s = SlotOf(file);
  if (!s || s->mode != 'r' || !s->data) return {};
  return {s->data, s->size};
}

std::span<uint8_t> CMemoryLikeFile::WritableSpace(const File* file) {
  const Slot* s = SlotOf(file);
  if (!s || !s->destination) return {};
  return {s->destination + s->position, Available(*s)};
}

void CMemoryLikeFile::Skip(File* file, size_t n) {
  Slot* s = SlotOf(file);
  if (!s) return;
  s->position += static_cast<uint32_t>(std::min(n, Available(*s)));
}
