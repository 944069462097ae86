#include "charts/temperature_window.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/record_store.h"

namespace {

using calvira::testing::R8, calvira::testing::UI4;

std::vector<DayNumber> TempDays() {
  std::vector<DayNumber> days;
  CCeDatabase db;
  if (!db.Open(u"Temp", ce::PropId(0, ce::CEVT_UI4))) return days;
  CCePropArray props;
  for (bool more = db.RecordCount() > 0; more && db.ReadCurrRecord(props); more = db.SeekNext()) {
    days.push_back(static_cast<DayNumber>(props.At(0).I4()));
  }
  return days;
}

class TemperatureWindowTest : public calvira::testing::RecordStoreTest {};

TEST_F(TemperatureWindowTest, ReadsTheWindowInDateOrder) {
  DayNumber latest = 7;
  EXPECT_FALSE(LatestReadingDay(&latest));
  EXPECT_EQ(latest, 7u);
  EXPECT_TRUE(ReadReadings(0, 100).empty());
  // Stored in the order given, as readings added for earlier days later are.
  for (const auto& [day, celsius] : {std::pair<DayNumber, double>{1000, 36.5},
                                     {990, 36.4},
                                     {1024, 36.9},
                                     {1025, 37.0},
                                     {975, 36.1},
                                     {1001, 36.6}}) {
    calvira::testing::WriteRaw(u"Temperature", {UI4(day), R8(celsius)});
  }
  const std::tuple<DayNumber, DayNumber, std::vector<DayNumber>> cases[] = {
      {1000, 1024, {1000, 1001, 1024}},
      {976, 1000, {990, 1000}},
      {975, 999, {975, 990}},
      {1026, 1050, {}},
      {900, 924, {}},
      {0, 5000, {975, 990, 1000, 1001, 1024, 1025}},
  };
  for (const auto& [first, last, days] : cases) {
    std::vector<DayNumber> read;
    for (const ChartReading& r : ReadReadings(first, last)) read.push_back(r.day);
    EXPECT_EQ(read, days) << first;
  }
  ASSERT_TRUE(LatestReadingDay(&latest));
  EXPECT_EQ(latest, 1025u);
  EXPECT_DOUBLE_EQ(ReadReadings(1025, 1025).at(0).celsius, 37.0);
}

TEST_F(TemperatureWindowTest, RebuildReplacesTempWholeOrNotAtAll) {
  ASSERT_TRUE(RebuildTempDatabase({{10, 36.5, 33, 38}, {11, 36.6, 41, 88}}));
  const std::vector<ChartReading> next = {
      {20, 36.5, 33, 38}, {21, 36.6, 41, 88}, {30, 37, 113, 38}};
  // A failure at any write or sync of the rebuild: the old content, never a mixture.
  EXPECT_GT(FailEachWrite([&] { return RebuildTempDatabase(next); },
                          [] {
                            EXPECT_EQ(TempDays(), (std::vector<DayNumber>{10, 11}));
                          }),
            1);
  Remount();
  EXPECT_EQ(TempDays(), (std::vector<DayNumber>{20, 21, 30}));
}

}  // namespace
