// The object store's guarantees, at the level of its own calls: orders, seeks around deletions,
// merging writes, persistence, and failed writes that lose nothing.
#include "platform/object_store.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "support/fault_vfs.h"
#include "support/store_calls.h"
#include "support/temp_store.h"

namespace {

using namespace ce;
using namespace calvira::testing;

CEPROPVAL Real(WORD number, double value) {
  CEPROPVAL v{};
  v.propid = PropId(number, CEVT_R8);
  v.val.dblVal = value;
  return v;
}

class ObjectStoreTest : public TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    ASSERT_NE(CreateDb(), 0u);
  }
  HANDLE Open(CEPROPID sort) {
    HANDLE h = CeOpenDatabase(nullptr, u"Notes", sort, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    return h;
  }
};

TEST_F(ObjectStoreTest, CreateAndOpenRefuseDuplicatesOverlongNamesAndUnknownSortOrders) {
  EXPECT_EQ(CreateDb(), 0u);
  EXPECT_EQ(GetLastError(), ERROR_DUP_NAME);
  CEDBASEINFO unended{};
  unended.dwFlags = CEDB_VALIDNAME;
  std::fill_n(unended.szDbaseName, 32, u'y');  // 32 units leave no terminator
  EXPECT_EQ(CeCreateDatabaseEx(&unended), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_NE(CreateDb(std::u16string(31, u'x').c_str(), kDay, kName), 0u);

  EXPECT_EQ(CeOpenDatabase(nullptr, u"Nothing", 0, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(CeOpenDatabase(nullptr, u"Notes", PropId(3, CEVT_I2), 0, nullptr),
            INVALID_HANDLE_VALUE);  // not one of its sort orders
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(uintptr_t{12345})));

  // A database is not deleted while it is open.
  CEOID notes = 0;
  HANDLE h = CeOpenDatabase(&notes, u"Notes", 0, 0, nullptr);
  EXPECT_FALSE(CeDeleteDatabase(notes));
  CloseHandle(h);
  EXPECT_TRUE(CeDeleteDatabase(notes));
}

TEST_F(ObjectStoreTest, OrdersByTheChosenPropertyNumbersNumericallyMissingLastTiesByAge) {
  HANDLE h = Open(kDay);
  const CEOID a = Write(h, {Int(0, CEVT_UI4, 300), Text(1, u"b")});
  const CEOID b = Write(h, {Int(0, CEVT_UI4, 100), Text(1, u"B")});
  const CEOID c = Write(h, {Text(1, u"a")});                         // lacks property 0
  const CEOID d = Write(h, {Int(0, CEVT_I4, 50), Text(1, u"c")});    // property 0, wrong type
  const CEOID e = Write(h, {Int(0, CEVT_UI4, 100), Text(1, u"a")});  // ties with b, younger
  const CEOID f = Write(h, {Int(0, CEVT_UI4, 4000000000u)});         // beyond a signed 32-bit
  EXPECT_EQ(Walk(h), (std::vector<CEOID>{b, e, a, f, c, d}));

  HANDLE by_name = Open(kName);
  // Case-sensitive: upper case sorts before lower case.
  EXPECT_EQ(Walk(by_name), (std::vector<CEOID>{b, c, e, a, d, f}));
  HANDLE natural = Open(0);
  EXPECT_EQ(Walk(natural), (std::vector<CEOID>{a, b, c, d, e, f}));
  for (HANDLE x : {h, by_name, natural}) EXPECT_TRUE(CloseHandle(x));

  // Reals and signed values in their numeric order, NaN after every number.
  ASSERT_NE(CreateDb(u"Readings", PropId(0, CEVT_R8), PropId(1, CEVT_I2)), 0u);
  h = CeOpenDatabase(nullptr, u"Readings", PropId(0, CEVT_R8), 0, nullptr);
  const CEOID hot = Write(h, {Real(0, 41.5), Int(1, CEVT_I2, -2)});
  const CEOID cold = Write(h, {Real(0, -3.25), Int(1, CEVT_I2, 7)});
  const CEOID nan = Write(h, {Real(0, std::nan("")), Int(1, CEVT_I2, 0)});
  const CEOID mid = Write(h, {Real(0, 36.6), Int(1, CEVT_I2, -30000)});
  EXPECT_EQ(Walk(h), (std::vector<CEOID>{cold, mid, hot, nan}));
  HANDLE by_i2 = CeOpenDatabase(nullptr, u"Readings", PropId(1, CEVT_I2), 0, nullptr);
  EXPECT_EQ(Walk(by_i2), (std::vector<CEOID>{mid, hot, nan, cold}));
  CloseHandle(h);
  CloseHandle(by_i2);
}

TEST_F(ObjectStoreTest, SeeksReportIndexesAndStayPutWhenTheyFail) {
  HANDLE h = Open(kDay);
  const int days[] = {5, 1, 4, 2, 3};  // the day at sorted index k is k + 1
  std::vector<CEOID> oids;
  for (int day : days) oids.push_back(Write(h, {Int(0, CEVT_UI4, day)}));
  constexpr DWORD kBack = static_cast<DWORD>(-1);
  // Each seek from where the one before left the handle; a failed seek (0) stays put.
  // (seek type, value, the day found or 0 for none)
  const std::tuple<DWORD, DWORD, int> seeks[] = {
      {CEDB_SEEK_END, 0, 5},       {CEDB_SEEK_CURRENT, 1, 0},     {CEDB_SEEK_CURRENT, kBack, 4},
      {CEDB_SEEK_BEGINNING, 2, 3}, {CEDB_SEEK_BEGINNING, 5, 0},   {CEDB_SEEK_END, 1, 4},
      {CEDB_SEEK_BEGINNING, 0, 1}, {CEDB_SEEK_CURRENT, kBack, 0},
  };
  const auto oid_of = [&](int d) { return oids[std::find(days, days + 5, d) - days]; };
  for (const auto& [type, value, day] : seeks) {
    DWORD index = 99;
    EXPECT_EQ(CeSeekDatabase(h, type, value, &index), day ? oid_of(day) : 0u)
        << type << " " << value;
    if (day) {
      EXPECT_EQ(index, static_cast<DWORD>(day - 1));
    }
  }
  DWORD index = 99;
  EXPECT_EQ(CeSeekDatabase(h, CEDB_SEEK_CEOID, oid_of(2), &index), oid_of(2));
  EXPECT_EQ(index, 1u);
  CloseHandle(h);
}

TEST_F(ObjectStoreTest, HandlesFollowTheirRecordsThroughDeletesAndMoves) {
  HANDLE h = Open(kDay);
  std::vector<CEOID> oids;
  for (int day = 1; day <= 5; ++day) oids.push_back(Write(h, {Int(0, CEVT_UI4, day)}));
  HANDLE other = Open(kDay);
  CeSeekDatabase(other, CEDB_SEEK_BEGINNING, 2, nullptr);

  CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 2, nullptr);
  ASSERT_TRUE(CeDeleteRecord(h, oids[2]));
  CePropBuffer buffer;
  EXPECT_EQ(CeReadRecordProps(h, buffer), 0u);
  EXPECT_EQ(CeSeekDatabase(h, CEDB_SEEK_CURRENT, 1, nullptr), oids[3]);
  // Both handles stood on the deleted record; the other one steps back from it.
  EXPECT_EQ(CeSeekDatabase(other, CEDB_SEEK_CURRENT, static_cast<DWORD>(-1), nullptr), oids[1]);

  // Deleting the last record leaves nothing after it.
  CeSeekDatabase(h, CEDB_SEEK_END, 0, nullptr);
  ASSERT_TRUE(CeDeleteRecord(h, oids[4]));
  EXPECT_EQ(CeSeekDatabase(h, CEDB_SEEK_CURRENT, 1, nullptr), 0u);
  EXPECT_FALSE(CeDeleteRecord(h, oids[4]));
  EXPECT_EQ(Walk(h), (std::vector<CEOID>{oids[0], oids[1], oids[3]}));

  // Rewriting the sort property moves the record, and the handle follows it to its new place.
  CeSeekDatabase(h, CEDB_SEEK_CEOID, oids[0], nullptr);
  Write(h, {Int(0, CEVT_UI4, 10)}, oids[0]);
  DWORD index = 0;
  EXPECT_EQ(CeSeekDatabase(h, CEDB_SEEK_CURRENT, static_cast<DWORD>(-1), &index), oids[3]);
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(Walk(h), (std::vector<CEOID>{oids[1], oids[3], oids[0]}));
  CloseHandle(h);
  CloseHandle(other);
}

TEST_F(ObjectStoreTest, WritesMergeAndKeepEveryTypeExactly) {
  HANDLE h = Open(kDay);
  // A lone surrogate, as a string may hold, survives the file beside a whole pair.
  const char16_t odd[] = {u'x', 0xD800, u'y', 0xD83D, 0xDE00, u' ', u'"', 0};
  const CEOID oid =
      Write(h, {Int(0, CEVT_UI4, 0xFFFFFFFFu), Int(1, CEVT_I2, -32768), Int(2, CEVT_UI2, 65535),
                Int(3, CEVT_I4, -2147483647 - 1), Int(4, CEVT_BOOL, -1),
                Real(5, 36.600000000000001), Text(6, u"gone"), Text(7, odd)});
  ASSERT_EQ(Write(h, {Int(1, CEVT_I2, 7), Text(6, nullptr)}, oid), oid);
  Remount();
  h = Open(kDay);
  CePropBuffer buffer;
  ASSERT_EQ(CeSeekDatabase(h, CEDB_SEEK_CEOID, oid, nullptr), oid);
  ASSERT_EQ(CeReadRecordProps(h, buffer), oid);
  const auto p = buffer.props();
  ASSERT_EQ(p.size(), 8u);
  EXPECT_EQ(std::tuple(p[0].val.ulVal, p[1].val.iVal, p[2].val.uiVal, p[3].val.lVal),
            std::tuple(0xFFFFFFFFu, 7, 65535, -2147483647 - 1));
  EXPECT_EQ(std::tuple(p[4].val.boolVal, p[5].val.dblVal), std::tuple(-1, 36.600000000000001));
  EXPECT_EQ(std::u16string(p[6].val.lpwstr), u"");
  EXPECT_EQ(std::u16string(p[7].val.lpwstr), std::u16string(odd));

  EXPECT_EQ(Write(h, {Int(0, CEVT_UI4, 1)}, 987654), 0u);  // no such record
  CEPROPVAL blob{};
  blob.propid = PropId(0, 65);
  EXPECT_EQ(Write(h, {blob}), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// A record's properties as (id, integer value) pairs, in their order.
std::vector<std::pair<CEPROPID, int64_t>> Props(HANDLE h, CEOID oid) {
  std::vector<std::pair<CEPROPID, int64_t>> out;
  CePropBuffer buffer;
  if (CeSeekDatabase(h, CEDB_SEEK_CEOID, oid, nullptr) != oid) return out;
  CeReadRecordProps(h, buffer);
  for (const CEPROPVAL& p : buffer.props()) {
    const WORD type = TypeFromPropId(p.propid);
    out.push_back({p.propid, type == CEVT_I2    ? p.val.iVal
                             : type == CEVT_UI2 ? p.val.uiVal
                                                : p.val.lVal});
  }
  return out;
}

CEPROPVAL Delete(WORD number) {
  CEPROPVAL v{};
  v.propid = PropId(number, CEVT_I2);
  v.wFlags = CEDB_PROPDELETE;
  return v;
}

TEST_F(ObjectStoreTest, AWriteReplacesThePropertyOfItsNumberWhateverItsType) {
  using Expected = std::vector<std::pair<CEPROPID, int64_t>>;
  // Every case starts from the record (UI4 0 = 5, BOOL 1 = 1, UI2 2 = 3): (what, written, after).
  const std::tuple<const char*, std::vector<CEPROPVAL>, Expected> cases[] = {
      {"a BOOL read back as I2 and written again",
       {Int(1, CEVT_I2, 1)},
       {{PropId(0, CEVT_UI4), 5}, {PropId(1, CEVT_I2), 1}, {PropId(2, CEVT_UI2), 3}}},
      {"another type keeps the property's place",
       {Int(2, CEVT_I4, 9), Int(0, CEVT_UI4, 6)},
       {{PropId(0, CEVT_UI4), 6}, {PropId(1, CEVT_BOOL), 1}, {PropId(2, CEVT_I4), 9}}},
      {"one number twice in one write: the last one stays",
       {Int(1, CEVT_I2, 7), Int(1, CEVT_BOOL, 0)},
       {{PropId(0, CEVT_UI4), 5}, {PropId(1, CEVT_BOOL), 0}, {PropId(2, CEVT_UI2), 3}}},
      {"a new number is appended",
       {Int(3, CEVT_I2, -4)},
       {{PropId(0, CEVT_UI4), 5},
        {PropId(1, CEVT_BOOL), 1},
        {PropId(2, CEVT_UI2), 3},
        {PropId(3, CEVT_I2), -4}}},
      {"a deletion removes the property whatever type it names",
       {Delete(1), Delete(7)},
       {{PropId(0, CEVT_UI4), 5}, {PropId(2, CEVT_UI2), 3}}},
  };
  HANDLE h = Open(kDay);
  for (const auto& [what, written, after] : cases) {
    SCOPED_TRACE(what);
    const CEOID oid = Write(h, {Int(0, CEVT_UI4, 5), Int(1, CEVT_BOOL, 1), Int(2, CEVT_UI2, 3)});
    ASSERT_EQ(Write(h, written, oid), oid);
    EXPECT_EQ(Props(h, oid), after);
    Remount();
    h = Open(kDay);
    EXPECT_EQ(Props(h, oid), after);
  }
  CloseHandle(h);
}

TEST_F(ObjectStoreTest, ManyRecordsStayInOrderThroughRandomWritesAndDeletes) {
  HANDLE h = Open(kDay);
  std::mt19937 random(7);
  std::map<CEOID, uint32_t> expected;
  for (int step = 0; step < 600; ++step) {
    const uint32_t day = random() % 200;
    if (!expected.empty() && random() % 3 == 0) {
      auto it = std::next(expected.begin(), static_cast<long>(random() % expected.size()));
      ASSERT_TRUE(CeDeleteRecord(h, it->first));
      expected.erase(it);
    } else {
      expected[Write(h, {Int(0, CEVT_UI4, day)})] = day;
    }
  }
  // Ties by age: the map holds the records oldest first, and the sort keeps that order.
  std::vector<CEOID> want;
  for (auto [oid, day] : expected) want.push_back(oid);
  std::stable_sort(want.begin(), want.end(),
                   [&](CEOID a, CEOID b) { return expected[a] < expected[b]; });
  EXPECT_EQ(Walk(h), want);
  Remount();
  EXPECT_EQ(Walk(Open(kDay)), want);
}

TEST_F(ObjectStoreTest, TransactionsLandWholeOrNotAtAll) {
  HANDLE h = Open(kDay);
  {
    objectstore::Transaction t;
    Write(h, {Int(0, CEVT_UI4, 1)});
    Write(h, {Int(0, CEVT_UI4, 2)});
  }  // abandoned
  EXPECT_TRUE(Walk(h).empty());
  {
    objectstore::Transaction t;
    Write(h, {Int(0, CEVT_UI4, 3)});
    EXPECT_TRUE(t.Commit());
  }
  Remount();
  EXPECT_EQ(Walk(Open(kDay)).size(), 1u);
}

TEST(ObjectStoreFiles, AreCreatedPrivate) {
  const auto dir = MakeTempDir("calvira-files") / "nested" / "data";
  ASSERT_EQ(objectstore::Mount(dir), "");
  objectstore::Unmount();
  for (const auto& [path, mode] : {std::pair{dir, 0700u}, {objectstore::StoreFile(dir), 0600u}}) {
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, mode) << path;
  }
  std::filesystem::remove_all(dir.parent_path().parent_path());
}

// Fails the Nth write or sync of an operation for every N until the operation gets through,
// and checks after each failure that the call said so and the file holds exactly what it held.
class ObjectStoreFaultTest : public TempStoreTest, public ::testing::WithParamInterface<Fault> {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    MountFaulty();
    ASSERT_NE(CreateDb(), 0u);
    HANDLE h = CeOpenDatabase(nullptr, u"Notes", kDay, 0, nullptr);
    for (int day = 1; day <= 20; ++day) Write(h, {Int(0, CEVT_UI4, day), Text(1, u"kept")});
    CloseHandle(h);
  }
  void TearDown() override {
    ClearFault();
    TempStoreTest::TearDown();
  }

  // Day values of every record, read through a fresh mount of the file.
  std::vector<uint32_t> FileContents() {
    objectstore::Unmount();
    EXPECT_EQ(objectstore::Mount(data_dir_), "");
    std::vector<uint32_t> days;
    HANDLE h = CeOpenDatabase(nullptr, u"Notes", kDay, 0, nullptr);
    Walk(h, [&days](const CePropBuffer& b) { days.push_back(b.props()[0].val.ulVal); });
    CloseHandle(h);
    MountFaulty();
    return days;
  }
};

TEST_P(ObjectStoreFaultTest, AFailedWriteIsReportedAndLosesNothing) {
  const std::vector<uint32_t> before = FileContents();
  bool succeeded = false;
  int failures = 0;
  for (int nth = 1; nth < 50 && !succeeded; ++nth) {
    HANDLE h = CeOpenDatabase(nullptr, u"Notes", kDay, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CeSeekDatabase(h, CEDB_SEEK_BEGINNING, 4, nullptr);
    const CEOID fifth = CeSeekDatabase(h, CEDB_SEEK_CURRENT, 0, nullptr);
    FailFrom(nth, GetParam());
    const CEOID added = Write(h, {Int(0, CEVT_UI4, 100)});
    const DWORD error = GetLastError();
    const BOOL deleted = added ? CeDeleteRecord(h, fifth) : FALSE;
    ClearFault();
    CloseHandle(h);

    const std::vector<uint32_t> after = FileContents();
    if (!added) {
      ++failures;
      EXPECT_TRUE(FaultStruck());
      if (GetParam() == Fault::kDiskFull) {
        EXPECT_EQ(error, ERROR_DISK_FULL) << "write " << nth;
      }
      EXPECT_EQ(after, before) << "write " << nth;
      continue;
    }
    std::vector<uint32_t> want = before;
    want.push_back(100);
    if (deleted) want.erase(want.begin() + 4);
    EXPECT_EQ(after, want) << "write " << nth;
    succeeded = deleted;
    // Put the file back as it was for the next round.
    h = CeOpenDatabase(nullptr, u"Notes", kDay, 0, nullptr);
    CeDeleteRecord(h, added);
    if (deleted) Write(h, {Int(0, CEVT_UI4, 5), Text(1, u"kept")});
    CloseHandle(h);
    ASSERT_EQ(FileContents(), before);
  }
  EXPECT_TRUE(succeeded);
  EXPECT_GT(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, ObjectStoreFaultTest,
                         ::testing::Values(Fault::kDiskFull, Fault::kIoError));

}  // namespace
