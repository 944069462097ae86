#include "gfx/bit_file.h"

#include <array>

#include "gfx/codec/lz77.h"

namespace {

std::span<uint8_t>& Destination() {
  static std::span<uint8_t> destination;
  return destination;
}

// Loads the reader's next buffer. The end flag goes up when nothing is left, that is when the
// byte just loaded into `current` was the last one.
void Refill(BitFile& f) {
  f.count = CMemoryLikeFile::fread(f.buffer.data(), 1, f.buffer.size(), f.file);
  if (f.count == 0) f.end = true;
  f.position = 0;
}

void FlushWriter(BitFile& f) {
  if (f.count > 0) CMemoryLikeFile::fwrite(f.buffer.data(), 1, f.count, f.file);
  f.count = 0;
}

}  // namespace

void SetBitFileDestination(std::span<uint8_t> destination) {
  Destination() = destination;
}

std::unique_ptr<BitFile> OpenBitFile(const char* name, const char* mode) {
  CMemoryLikeFile::File* file = CMemoryLikeFile::fopen(name, mode);
  if (!file) return nullptr;
  auto f = std::make_unique<BitFile>();
  f->file = file;
  f->mode = mode[0];
  if (f->mode == 'r') {
    f->count = CMemoryLikeFile::fread(f->buffer.data(), 1, f->buffer.size(), file);
    f->current = f->count > 0 ? f->buffer[0] : 0;
    f->bit_index = 7;
    f->position = 1;
    // A payload of one byte has just had its last byte loaded, and an empty one has none: both
    // end here. Checking only on later loads would take bytes from beyond the data.
    if (f->position >= f->count) Refill(*f);
  } else {
    const std::span<uint8_t> d = Destination();
    CMemoryLikeFile::SetWriteBlock(d.data(), static_cast<uint32_t>(d.size()), file);
  }
  return f;
}

uint32_t ReadBits(int n, BitFile* file) {
  if (!file || file->mode != 'r') return 0;
  BitFile& f = *file;
  f.untouched = false;
  if (n > 32) n = 32;
  uint32_t value = 0;
  for (int k = 0; k < n; ++k) {
    const uint32_t bit =
        (f.bit_index >= 0 && f.bit_index <= 7) ? (uint32_t{f.current} >> f.bit_index) & 1u : 0u;
    value = value * 2 + bit;
    const int was = f.bit_index--;
    if (was == 0 && !f.end) {
      f.current = f.buffer[f.position++];
      if (f.position >= f.count) Refill(f);
      f.bit_index = 7;
    }
  }
  return value;
}

int WriteBits(uint32_t value, int n, BitFile* file) {
  if (!file || file->mode != 'w') return -1;
  BitFile& f = *file;
  f.untouched = false;
  if (n > 32) n = 32;
  for (int k = n - 1; k >= 0; --k) {
    f.current = static_cast<uint8_t>((f.current << 1) | ((value >> k) & 1u));
    if (++f.bit_index == 8) {
      f.buffer[f.count++] = f.current;
      f.current = 0;
      f.bit_index = 0;
      if (f.count == f.buffer.size()) FlushWriter(f);
    }
  }
  return 1;
}

int CloseBitFile(std::unique_ptr<BitFile> file) {
  if (!file) return -1;
  BitFile& f = *file;
  if (f.mode == 'w') {
    if (f.bit_index > 0) {
      f.buffer[f.count++] = static_cast<uint8_t>(f.current << (8 - f.bit_index));
      f.current = 0;
      f.bit_index = 0;
    }
    FlushWriter(f);
  }
  CMemoryLikeFile::fclose(f.file);
  return 1;
}

void Lz77DecodeByTokens(BitFile* reader, BitFile* writer) {
  if (!reader || reader->end) return;
  // A ring of the last 512 output bytes; `oldest` is window position 0. A fixed array, so no
  // allocation can fail here.
  std::array<uint8_t, kLz77Window> window{};
  size_t oldest = 0;
  auto emit = [&](uint8_t byte) {
    window[oldest] = byte;
    oldest = (oldest + 1) % kLz77Window;
    WriteBits(byte, 8, writer);
  };
  do {
    if (ReadBits(1, reader) == 1) {
      emit(static_cast<uint8_t>(ReadBits(8, reader)));
    } else {
      const uint32_t length = ReadBits(5, reader) + 1;
      const uint32_t position = ReadBits(9, reader);
      // Each byte copied becomes the newest, shifting the window by one, so the same position
      // names the next source byte.
      for (uint32_t k = 0; k < length; ++k) emit(window[(oldest + position) % kLz77Window]);
    }
  } while (!reader->end);
}

void Lz77Decode(BitFile* reader, BitFile* writer) {
  const bool fresh = reader && writer && reader->mode == 'r' && writer->mode == 'w' &&
                     reader->untouched && writer->untouched && writer->count == 0 &&
                     CMemoryLikeFile::IsOpen(reader->file) &&
                     CMemoryLikeFile::WritableSpace(writer->file).data() != nullptr;
  if (!fresh) {
    Lz77DecodeByTokens(reader, writer);
    return;
  }
  // Both ends are plain memory: decode from the resource's payload straight into the
  // destination, which is what the token path would leave there after the writer is closed.
  const std::span<const uint8_t> contents = CMemoryLikeFile::Contents(reader->file);
  const std::span<const uint8_t> payload =
      contents.size() >= 4 ? contents.subspan(4) : std::span<const uint8_t>();
  const size_t produced = Lz77Inflate(payload, CMemoryLikeFile::WritableSpace(writer->file));
  CMemoryLikeFile::Skip(writer->file, produced);
  CMemoryLikeFile::Skip(reader->file, payload.size());
  reader->end = true;
  reader->bit_index = -1;
  reader->count = 0;
  reader->position = 0;
  reader->untouched = false;
  writer->untouched = false;
}
