// The "Temperature" database: one reading per day in the order of the days, deleting one or
// all, and nothing lost when the disk refuses.
#include "temperature/temperature_records.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/object_store.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "support/days.h"
#include "support/fault_vfs.h"
#include "support/temp_store.h"

namespace {

using calvira::testing::TempStoreTest;

using calvira::testing::Day;

class TemperatureRecordsTest : public TempStoreTest {
 protected:
  void SetUp() override {
    TempStoreTest::SetUp();
    CreateCatalogue();
  }

  static std::vector<std::pair<DayNumber, double>> Stored() {
    std::vector<std::pair<DayNumber, double>> out;
    for (const TemperatureReading& r : ReadTemperatures()) out.emplace_back(r.day, r.celsius);
    return out;
  }
};

TEST_F(TemperatureRecordsTest, OneReadingPerDayInTheOrderOfTheDays) {
  const DayNumber jan5 = Day(2003, 1, 5), feb1 = Day(2003, 2, 1), nov20 = Day(2003, 11, 20);
  EXPECT_TRUE(ReadTemperatures().empty());
  EXPECT_TRUE(SaveTemperature(nov20, 36.6));
  EXPECT_TRUE(SaveTemperature(jan5, 36.5));
  EXPECT_TRUE(SaveTemperature(feb1, 37.2));
  EXPECT_EQ(Stored(),
            (std::vector<std::pair<DayNumber, double>>{{jan5, 36.5}, {feb1, 37.2}, {nov20, 36.6}}));
  // Again for a day that has one: replaced, not added.
  EXPECT_TRUE(SaveTemperature(feb1, 36.9));
  EXPECT_EQ(Stored(),
            (std::vector<std::pair<DayNumber, double>>{{jan5, 36.5}, {feb1, 36.9}, {nov20, 36.6}}));
  EXPECT_EQ(TemperatureCount(), 3u);
  EXPECT_TRUE(TakeBoxTexts().empty());
}

TEST_F(TemperatureRecordsTest, ASecondRecordOfADayIsOverwrittenToo) {
  // Two records of one day, as an import could leave them: both take the new value.
  const DayNumber jan5 = Day(2003, 1, 5);
  {
    CCeDatabase db;
    ASSERT_TRUE(db.Open(u"Temperature", 0));
    for (double t : {36.1, 36.2}) {
      CCePropArray record;
      CCePropVal v;
      v.SetUI4(jan5);
      record.Append(v);
      v.SetR8(t);
      record.Append(v);
      ASSERT_TRUE(db.WriteNew(record));
    }
    db.Close();
  }
  EXPECT_TRUE(SaveTemperature(jan5, 37.0));
  EXPECT_EQ(Stored(), (std::vector<std::pair<DayNumber, double>>{{jan5, 37.0}, {jan5, 37.0}}));
}

TEST_F(TemperatureRecordsTest, DeletingOneOrAll) {
  const DayNumber days[] = {Day(2003, 1, 5), Day(2003, 1, 6), Day(2003, 1, 7)};
  struct Case {
    size_t position;
    bool deleted;
    std::vector<DayNumber> left;
  };
  const Case cases[] = {
      {0, true, {days[1], days[2]}},
      {1, true, {days[0], days[2]}},
      {2, true, {days[0], days[1]}},
      {3, false, {days[0], days[1], days[2]}},  // beyond the readings: nothing changes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    ASSERT_TRUE(DeleteAllTemperatures());
    for (DayNumber d : days) ASSERT_TRUE(SaveTemperature(d, 36.6));
    EXPECT_EQ(DeleteTemperatureAt(c.position), c.deleted);
    std::vector<DayNumber> left;
    for (const TemperatureReading& r : ReadTemperatures()) left.push_back(r.day);
    EXPECT_EQ(left, c.left);
  }
  EXPECT_TRUE(DeleteAllTemperatures());
  EXPECT_EQ(TemperatureCount(), 0u);
  EXPECT_TRUE(DeleteAllTemperatures());  // nothing to delete is no failure
  EXPECT_FALSE(DeleteTemperatureAt(0));
  EXPECT_TRUE(TakeBoxTexts().empty());
}

// Delete All on a full disk keeps every reading and says so; Temp History then lists them again
// instead of showing an empty list over a full store.
TEST_F(TemperatureRecordsTest, DeleteAllOnAFullDiskKeepsEveryReading) {
  MountFaulty();
  for (int d = 0; d < 5; ++d) ASSERT_TRUE(SaveTemperature(Day(2003, 1, 5) + d, 36.0 + d * 0.1));
  const auto before = Stored();
  calvira::testing::FailFrom(1, calvira::testing::Fault::kDiskFull);
  EXPECT_FALSE(DeleteAllTemperatures());
  EXPECT_FALSE(SaveTemperature(Day(2003, 1, 5), 40.0));
  EXPECT_TRUE(calvira::testing::FaultStruck());
  calvira::testing::ClearFault();
  TakeBoxTexts();
  Remount();
  EXPECT_EQ(Stored(), before);
}

}  // namespace
