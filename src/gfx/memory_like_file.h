// CMemoryLikeFile: a tiny file layer over memory, shaped like the C library's, through which the
// LZ77 decoder reads a packed image resource and writes the pixels straight into a bitmap.
//
// Ten slots are shared by the whole program. A file handed to callers is a pointer to its entry
// in a table of slot numbers (-1 = free). A read file holds a packed resource found by its
// decimal id; a write file holds a destination block bound with SetWriteBlock, whose capacity
// never grows: whatever does not fit is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

class CMemoryLikeFile {
 public:
  using File = int32_t;
  static constexpr int kSlots = 10;

  // Takes the lowest free slot. Mode "r": the name is the whole decimal id of a packed resource;
  // reading starts at its payload, after the 4-byte length. Mode "w": bind the destination with
  // SetWriteBlock. Nothing when the name is not a packed resource, the mode is neither, or all
  // slots are in use.
  static File* fopen(const char* name, const char* mode);
  static void SetWriteBlock(uint8_t* destination, uint32_t capacity, File* file);

  // Whole items read or written. What is left at the end is still copied (and dropped when
  // writing); a part item there is reported.
  static size_t fread(void* buffer, size_t item_size, size_t count, File* file);
  static size_t fwrite(const void* buffer, size_t item_size, size_t count, File* file);

  // 0, or -1 (EOF) for a file that is not open. Files are closed in the reverse order of opening.
  static int fclose(File* file);

  // Frees every slot; handles from before are no longer open.
  static void reset();

  // For the decoder's shortcut and for tests: the slot behind an open file.
  static bool IsOpen(const File* file);
  static int OpenCount();
  static uint32_t Position(const File* file);
  // A read file's whole resource, as far as its length field and the resource reach.
  static std::span<const uint8_t> Contents(const File* file);
  // A write file's destination from the current position to its capacity.
  static std::span<uint8_t> WritableSpace(const File* file);
  // Moves the position forward by n bytes, at most to the end.
  static void Skip(File* file, size_t n);
};
