#include "charts/temperature_window.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/object_store.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/ce_prop.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

namespace {

class TemperatureWindowTest : public calvira::testing::TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }

  // Stored in the order given, as readings added for earlier days later are.
  static void Store(const std::vector<std::pair<DayNumber, double>>& readings) {
    CCeDatabase db;
    ASSERT_TRUE(db.Open(u"Temperature", 0));
    for (const auto& [day, celsius] : readings) {
      CCePropArray props;
      CCePropVal value;
      value.SetUI4(day);
      props.Append(value);
      value.SetR8(celsius);
      props.Append(value);
      ASSERT_TRUE(db.WriteNew(props));
    }
    db.Close();
  }

  static std::vector<DayNumber> TempDays() {
    std::vector<DayNumber> days;
    CCeDatabase db;
    if (!db.Open(u"Temp", ce::PropId(0, ce::CEVT_UI4))) return days;
    for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
      CCePropArray props;
      if (!db.ReadCurrRecord(props)) break;
      days.push_back(static_cast<DayNumber>(props.At(0).I4()));
    }
    db.Close();
    return days;
  }
};

std::vector<DayNumber> Days(const std::vector<ChartReading>& readings) {
  std::vector<DayNumber> days;
  for (const ChartReading& r : readings) days.push_back(r.day);
  return days;
}

TEST_F(TemperatureWindowTest, ReadsTheWindowInDateOrder) {
  Store({{1000, 36.5}, {990, 36.4}, {1024, 36.9}, {1025, 37.0}, {975, 36.1}, {1001, 36.6}});
  struct Case {
    DayNumber first, last;
    std::vector<DayNumber> days;
  } cases[] = {
      {1000, 1024, {1000, 1001, 1024}},
      {976, 1000, {990, 1000}},
      {975, 999, {975, 990}},
      {1026, 1050, {}},
      {900, 924, {}},
      {0, 5000, {975, 990, 1000, 1001, 1024, 1025}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.first);
    EXPECT_EQ(Days(ReadReadings(c.first, c.last)), c.days);
  }
  DayNumber latest = 0;
  ASSERT_TRUE(LatestReadingDay(&latest));
  EXPECT_EQ(latest, 1025u);
  EXPECT_DOUBLE_EQ(ReadReadings(1025, 1025).at(0).celsius, 37.0);
}

TEST_F(TemperatureWindowTest, NoReadingNoLatestDay) {
  DayNumber latest = 7;
  EXPECT_FALSE(LatestReadingDay(&latest));
  EXPECT_EQ(latest, 7u);
  EXPECT_TRUE(ReadReadings(0, 100).empty());
}

TEST_F(TemperatureWindowTest, RebuildReplacesTempWholeOrNotAtAll) {
  ASSERT_TRUE(RebuildTempDatabase({{10, 36.5, 33, 38}, {11, 36.6, 41, 88}}));
  EXPECT_EQ(TempDays(), (std::vector<DayNumber>{10, 11}));
  const std::vector<ChartReading> next = {
      {20, 36.5, 33, 38}, {21, 36.6, 41, 88}, {30, 37, 113, 38}};

  calvira::testing::InstallFaultVfs();
  ce::objectstore::Unmount();
  ce::objectstore::MountOptions options;
  options.vfs = calvira::testing::kFaultVfsName;
  ASSERT_EQ(ce::objectstore::Mount(data_dir_, options), "");
  // A failure at any write or sync of the rebuild: the old content, never a mixture.
  int failures = 0;
  for (int nth = 1; nth <= 100; ++nth) {
    SCOPED_TRACE(nth);
    calvira::testing::FailFrom(nth, calvira::testing::Fault::kIoError);
    const bool done = RebuildTempDatabase(next);
    const bool struck = calvira::testing::FaultStruck();
    calvira::testing::ClearFault();
    TakeBoxTexts();
    if (done) {
      EXPECT_FALSE(struck);
      break;
    }
    ++failures;
    EXPECT_EQ(TempDays(), (std::vector<DayNumber>{10, 11}));
  }
  EXPECT_GT(failures, 1);
  ASSERT_TRUE(RebuildTempDatabase(next));
  Remount();
  EXPECT_EQ(TempDays(), (std::vector<DayNumber>{20, 21, 30}));
}

}  // namespace
