// Records made and read with the object store's own calls, for the tests of the store itself: a
// database of notes, each with a day (property 0) and a text (property 1), sorted by either.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/object_store.h"

namespace calvira::testing {

inline constexpr ce::CEPROPID kDay = ce::PropId(0, ce::CEVT_UI4);
inline constexpr ce::CEPROPID kName = ce::PropId(1, ce::CEVT_LPWSTR);

// Two-byte types are stored in uiVal, four-byte ones in ulVal, whatever their sign.
inline ce::CEPROPVAL Int(ce::WORD number, ce::WORD type, int64_t value) {
  ce::CEPROPVAL v{};
  v.propid = ce::PropId(number, type);
  if (type == ce::CEVT_I2 || type == ce::CEVT_UI2) {
    v.val.uiVal = static_cast<uint16_t>(value);
  } else {
    v.val.ulVal = static_cast<uint32_t>(value);
  }
  return v;
}

inline ce::CEPROPVAL Text(ce::WORD number, const char16_t* text) {
  ce::CEPROPVAL v{};
  v.propid = ce::PropId(number, ce::CEVT_LPWSTR);
  v.val.lpwstr = text;
  return v;
}

inline ce::CEOID CreateDb(const char16_t* name = u"Notes", ce::CEPROPID sort1 = kDay,
                          ce::CEPROPID sort2 = kName) {
  ce::CEDBASEINFO info{};
  info.dwFlags = ce::CEDB_VALIDNAME | ce::CEDB_VALIDTYPE | ce::CEDB_VALIDSORTSPEC;
  std::u16string(name).copy(info.szDbaseName, ce::CEDB_MAXDBASENAMELEN - 1);
  info.dwDbaseType = 7;
  info.wNumSortOrder = 2;
  info.rgSortSpecs[0].propid = sort1;
  info.rgSortSpecs[1].propid = sort2;
  return ce::CeCreateDatabaseEx(&info);
}

inline ce::CEOID Write(ce::HANDLE h, std::vector<ce::CEPROPVAL> props, ce::CEOID oid = 0) {
  return ce::CeWriteRecordProps(h, oid, static_cast<ce::WORD>(props.size()), props.data());
}

// The oids in the handle's order, walking from the first record; `read`, when given, is handed
// each record as it is passed.
inline std::vector<ce::CEOID> Walk(ce::HANDLE h,
                                   const std::function<void(const ce::CePropBuffer&)>& read = {}) {
  std::vector<ce::CEOID> oids;
  ce::CePropBuffer buffer;
  for (ce::CEOID o = ce::CeSeekDatabase(h, ce::CEDB_SEEK_BEGINNING, 0, nullptr); o;
       o = ce::CeSeekDatabase(h, ce::CEDB_SEEK_CURRENT, 1, nullptr)) {
    oids.push_back(o);
    if (read && ce::CeReadRecordProps(h, buffer) == o) read(buffer);
  }
  return oids;
}

}  // namespace calvira::testing
