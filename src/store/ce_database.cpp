#include "store/ce_database.h"

#include <algorithm>
#include <memory>
#include <new>

#include "platform/process.h"
#include "platform/reporter.h"

namespace {

void FatalError(const char16_t* text) {
  ce::objectstore::Report(text, u"Fatal Error", ce::MB_ICONSTOP);
}

}  // namespace

// What the user is told when the disk, not the program, refused a change: the cause, that
// nothing was saved, and what she can do about it.
const char16_t* RefusedChangeText(ce::DWORD error) {
  switch (error) {
    case ce::ERROR_DISK_FULL:
      return u"The disk is full. Nothing was saved; free some space and try again.";
    case ce::ERROR_ACCESS_DENIED:
      return u"The records cannot be written: they are read-only. Nothing was saved; check "
             u"the permissions of Calvira's data folder.";
    case ce::ERROR_WRITE_FAULT:
      return u"The disk could not be written. Nothing was saved; the disk may be failing: copy "
             u"Calvira's data folder to a safe place.";
    default:
      return nullptr;
  }
}

bool ReportRefusedChange(const char16_t* internal_text) {
  if (const char16_t* text = RefusedChangeText(ce::GetLastError())) {
    ce::objectstore::Report(text, u"Calvira", ce::MB_ICONEXCLAMATION);
    return true;
  }
  if (internal_text != nullptr) FatalError(internal_text);
  return false;
}

CCeDatabase::CCeDatabase() = default;

CCeDatabase::~CCeDatabase() {
  if (handle_) ce::CloseHandle(handle_);
}

ce::DWORD CCeDatabase::Create(const char16_t* name, ce::DWORD type_id, ce::CEPROPID sort1,
                              ce::CEPROPID sort2) {
  ce::CEDBASEINFO info{};
  const std::u16string_view given = name ? name : u"";
  const size_t kept = std::min<size_t>(given.size(), 31);
  std::copy_n(given.data(), kept, name_);
  name_[kept] = u'\0';

  info.dwFlags = ce::CEDB_VALIDNAME | ce::CEDB_VALIDTYPE | ce::CEDB_VALIDSORTSPEC;
  // A name longer than the store allows is passed whole, so that the store refuses it.
  const size_t passed = std::min<size_t>(given.size(), ce::CEDB_MAXDBASENAMELEN);
  std::copy_n(given.data(), passed, info.szDbaseName);
  info.dwDbaseType = type_id;
  info.wNumSortOrder = 2;
  info.rgSortSpecs[0] = {sort1, 0};
  info.rgSortSpecs[1] = {sort2, 0};
  if (ce::CeCreateDatabaseEx(&info) != 0) return 0;

  const ce::DWORD error = ce::GetLastError();
  if (error == ce::ERROR_INVALID_PARAMETER) {
    ce::objectstore::Report(u"ERROR_INVALID_PARAMETER", u"ERR", ce::MB_ICONSTOP);
    ce::ExitProcess(1);
  }
  if (error == ce::ERROR_DISK_FULL) {
    ce::objectstore::Report(u"ERROR_DISK_FULL ", u"ERR", ce::MB_ICONSTOP);
    ce::ExitProcess(1);
  }
  return error;
}

bool CCeDatabase::Open(const char16_t* name, ce::CEPROPID sort) {
  current_ = 0;
  if (handle_) {
    FatalError(u"Error in CCeDatabase::Open()!!");
    Close();
  }
  ce::CEOID oid = 0;
  ce::HANDLE h = ce::CeOpenDatabase(&oid, name, sort, 0, nullptr);
  bool opened = h != ce::INVALID_HANDLE_VALUE;
  if (opened) {
    handle_ = h;
    const std::u16string_view given = name ? name : u"";
    const size_t kept = std::min<size_t>(given.size(), 31);
    std::copy_n(given.data(), kept, name_);
    name_[kept] = u'\0';
  } else {
    const ce::DWORD error = ce::GetLastError();
    if (error == ce::ERROR_FILE_NOT_FOUND || error == ce::ERROR_NOT_ENOUGH_MEMORY) {
      ce::objectstore::Report(u"ERROR_FILE_NOT_FOUND ", u"Sample", ce::MB_OK);
    } else if (error == ce::ERROR_INVALID_PARAMETER) {
      ce::objectstore::Report(u"ERROR_INVALID_PARAMETER", u"Sample", ce::MB_OK);
    }
  }
  record_count_ = CountRecords();
  SeekFirst();
  return opened;
}

bool CCeDatabase::Close() {
  if (!handle_) return false;
  if (!ce::CloseHandle(handle_)) {
    FatalError(u"Error in CCeDatabase::Close()");
    return false;
  }
  handle_ = nullptr;
  name_[0] = u'\0';
  return true;
}

uint16_t CCeDatabase::CountRecords() {
  if (!handle_) return 0;
  ce::DWORD index = 0;
  current_ = ce::CeSeekDatabase(handle_, ce::CEDB_SEEK_END, 0, &index);
  if (current_ == 0) return 0;
  return static_cast<uint16_t>(index + 1);
}

bool CCeDatabase::Seek(ce::DWORD type, ce::DWORD value) {
  current_ = handle_ ? ce::CeSeekDatabase(handle_, type, value, nullptr) : 0;
  return current_ != 0;
}

bool CCeDatabase::SeekRecord(ce::CEOID oid) {
  return Seek(ce::CEDB_SEEK_CEOID, oid);
}

bool CCeDatabase::SeekFirst() {
  return Seek(ce::CEDB_SEEK_BEGINNING, 0);
}
bool CCeDatabase::SeekNext() {
  return Seek(ce::CEDB_SEEK_CURRENT, 1);
}
bool CCeDatabase::SeekLast() {
  return Seek(ce::CEDB_SEEK_END, 0);
}
bool CCeDatabase::SeekPrev() {
  return Seek(ce::CEDB_SEEK_CURRENT, static_cast<ce::DWORD>(-1));
}
bool CCeDatabase::SeekIndex(ce::DWORD index) {
  return Seek(ce::CEDB_SEEK_BEGINNING, index);
}

bool CCeDatabase::ReadCurrRecord(CCePropArray& array) {
  array.Clear();
  // With no current record there is nothing to read; the store's own cursor may still stand on
  // the record before a failed step, and reading that would hand back a stale record.
  if (!handle_ || current_ == 0) return false;
  ce::CePropBuffer buffer;
  if (ce::CeReadRecordProps(handle_, buffer) == 0) return false;
  const auto props = buffer.props();
  const auto count = static_cast<uint32_t>(props.size());
  for (uint32_t i = 0; i < count; ++i) {
    if (!array.Append(CCePropVal())) return false;
  }
  for (const ce::CEPROPVAL& p : props) {
    uint32_t n = ce::NumberFromPropId(p.propid);
    if (n >= count) {
      FatalError(u"Error in CCeDatabase::ReadCurrRecord");
      n = count - 1;
    }
    CCePropVal& target = array.At(n);
    switch (ce::TypeFromPropId(p.propid)) {
      case ce::CEVT_I2:
        target.SetI2(p.val.iVal);
        break;
      case ce::CEVT_BOOL:
        target.SetI2(static_cast<int16_t>(static_cast<uint16_t>(p.val.boolVal)));
        break;
      case ce::CEVT_I4:
        target.SetI4(p.val.lVal);
        break;
      case ce::CEVT_UI4:
        target.SetI4(static_cast<int32_t>(p.val.ulVal));
        break;
      case ce::CEVT_UI2:
        target.SetUI2(p.val.uiVal);
        break;
      case ce::CEVT_R8:
        target.SetR8(p.val.dblVal);
        break;
      case ce::CEVT_LPWSTR:
        target.SetString(p.val.lpwstr);
        break;
      default:
        break;
    }
  }
  return count > 0;
}

bool CCeDatabase::Write(const CCePropArray& array, ce::CEOID oid, const char16_t* no_memory_text) {
  const uint32_t count = array.Count();
  if (count == 0) return false;
  std::unique_ptr<ce::CEPROPVAL[]> list(count <= 0xFFFF ? new (std::nothrow) ce::CEPROPVAL[count]
                                                        : nullptr);
  if (!list) {
    ce::objectstore::Report(no_memory_text, u"Fatal Error", ce::MB_ICONSTOP);
    ce::ExitProcess(1);
  }
  for (uint32_t i = 0; i < count; ++i) {
    // String values hand over the element's own buffer; the store copies the text.
    list[i] = array.At(i).Raw();
    list[i].propid = ce::PropId(static_cast<ce::WORD>(i), array.At(i).Type());
  }
  if (!handle_) {
    FatalError(u"Can not write in prop-a");
    return false;
  }
  if (ce::CeWriteRecordProps(handle_, oid, static_cast<ce::WORD>(count), list.get()) == 0) {
    ReportRefusedChange(u"Can not write in prop-a");
    return false;
  }
  return true;
}

bool CCeDatabase::WriteNew(const CCePropArray& array) {
  return Write(array, 0, u"No free memory");
}

bool CCeDatabase::WriteCurr(const CCePropArray& array) {
  return Write(array, current_, u"no free memory");
}

bool CCeDatabase::DeleteCurr() {
  if (!handle_ || current_ == 0) return false;
  if (ce::CeDeleteRecord(handle_, current_)) return true;
  // A delete outside a transaction is durable at once, so the disk may refuse it here.
  ReportRefusedChange(nullptr);
  return false;
}

bool CommitChanges(ce::objectstore::Transaction& transaction) {
  if (transaction.Commit()) return true;
  ReportRefusedChange(u"Can not write in prop-a");
  return false;
}
