// CCeDatabase: the object through which every screen creates, opens, walks, reads, writes and
// deletes records of one object-store database. One object is reused for many open/close
// cycles; it closes its database when destroyed.
#pragma once

#include <cstdint>

#include "platform/object_store.h"
#include "store/ce_prop.h"

class CCeDatabase {
 public:
  CCeDatabase();
  ~CCeDatabase();
  CCeDatabase(const CCeDatabase&) = delete;
  CCeDatabase& operator=(const CCeDatabase&) = delete;

  // 0 on success, otherwise the error code. A name that exists is returned silently; an invalid
  // parameter or full storage is reported and ends the program with exit code 1.
  ce::DWORD Create(const char16_t* name, ce::DWORD type_id, ce::CEPROPID sort1, ce::CEPROPID sort2);
  // Opens for walking in the order of `sort` (0: the store's own order). Takes the record
  // count, then makes the first record current.
  bool Open(const char16_t* name, ce::CEPROPID sort);
  bool Close();

  // The record count as of the last Open; later writes and deletions do not change it.
  uint16_t RecordCount() const { return record_count_; }
  ce::CEOID CurrentRecord() const { return current_; }
  bool IsOpen() const { return handle_ != nullptr; }
  const char16_t* Name() const { return name_; }

  uint16_t CountRecords();  // leaves the last record current
  bool SeekFirst();
  bool SeekNext();
  bool SeekLast();
  bool SeekPrev();
  bool SeekIndex(ce::DWORD index);
  // Makes the record with this id current again (one remembered from CurrentRecord).
  bool SeekRecord(ce::CEOID oid);

  // Reads the current record into the array (converting BOOL to I2 and UI4 to I4); true when it
  // had at least one property.
  bool ReadCurrRecord(CCePropArray& array);
  // Write the array as a new record / over the current record. True only when the store took
  // it; a refusal is reported (ReportRefusedChange).
  bool WriteNew(const CCePropArray& array);
  bool WriteCurr(const CCePropArray& array);
  bool DeleteCurr();

 private:
  bool Seek(ce::DWORD type, ce::DWORD value);
  bool Write(const CCePropArray& array, ce::CEOID oid, const char16_t* no_memory_text);

  char16_t name_[32] = {};
  ce::CEOID current_ = 0;
  ce::HANDLE handle_ = nullptr;
  uint16_t record_count_ = 0;
};

// Makes a change of several writes durable. The store reports a write it refuses at once, but
// inside a transaction a full or failing disk shows only at the commit; this says so the same
// way, so that a change the store dropped never passes in silence.
bool CommitChanges(ce::objectstore::Transaction& transaction);

// After the store refused a change: when the cause is the user's to mend (a full disk, a
// read-only store, a disk that fails to write), a "Calvira" box says so in plain words and this
// returns true. Any other cause is an internal fault, reported as a "Fatal Error" with
// `internal_text` when one is given.
bool ReportRefusedChange(const char16_t* internal_text);
// Those plain words for the store's last error `error`; null when the cause is internal.
const char16_t* RefusedChangeText(ce::DWORD error);
