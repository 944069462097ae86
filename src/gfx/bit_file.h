// Bit files over CMemoryLikeFile slots, and the decoder of packed images that reads one and
// writes the other.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

#include "gfx/memory_like_file.h"

// A bit reader or writer over one memory-file slot, with a 5000-byte buffer.
struct BitFile {
  static constexpr size_t kBufferSize = 5000;

  CMemoryLikeFile::File* file = nullptr;
  std::array<uint8_t, kBufferSize> buffer{};
  uint8_t current = 0;  // the byte being taken apart (reader) or put together (writer)
  int bit_index = 0;    // reader: 7 down to 0, below 0 once the data is used up; writer: bits held
  size_t position = 0;  // next buffer byte
  size_t count = 0;     // bytes in the buffer
  char mode = 'r';
  bool end = false;       // reader: the last byte of the data has been loaded
  bool untouched = true;  // no bit read or written yet
};

// The block that the next writer opened with OpenBitFile(name, "w") writes into.
void SetBitFileDestination(std::span<uint8_t> destination);

// Opens the named memory file in mode "r" or "w"; nothing when that fails. A reader loads its
// first buffer at once; its end flag is raised already when the data has at most one byte.
std::unique_ptr<BitFile> OpenBitFile(const char* name, const char* mode);

// The next n bits (at most 32), first bit most significant; 0 from a writer. Bits past the end
// of the data read as 0.
uint32_t ReadBits(int n, BitFile* file);

// Appends bits n - 1 down to 0 of the value (n at most 32). 1, or -1 for a reader.
int WriteBits(uint32_t value, int n, BitFile* file);

// Pads a writer's last bits with zeros to a whole byte and writes what is buffered; closes the
// slot. 1, or -1 without a file.
int CloseBitFile(std::unique_ptr<BitFile> file);

// Decodes the packed image stream of the reader into the writer. When both are fresh memory
// files it decodes straight from the resource into the destination, with the same result.
void Lz77Decode(BitFile* reader, BitFile* writer);

// The same, token by token through ReadBits and WriteBits.
void Lz77DecodeByTokens(BitFile* reader, BitFile* writer);
