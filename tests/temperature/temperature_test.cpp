// The temperatures: the "Temperature" database, one reading per day in the order of the days,
// deleting one or all, and nothing lost when the disk refuses; Temp History's rules: the picker's
// rows and what each stands for, and the padded list rows.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/days.h"
#include "support/record_store.h"
#include "temperature/temp_history.h"
#include "temperature/temperature_records.h"
#include "temperature/temperature_scale.h"

namespace {

using calvira::testing::Day;
using Readings = std::vector<std::pair<DayNumber, double>>;

Readings Stored() {
  Readings out;
  for (const TemperatureReading& r : ReadTemperatures()) out.emplace_back(r.day, r.celsius);
  return out;
}

class TemperatureRecordsTest : public calvira::testing::RecordStoreTest {};

TEST_F(TemperatureRecordsTest, OneReadingPerDayInTheOrderOfTheDays) {
  const DayNumber jan5 = Day(2003, 1, 5), feb1 = Day(2003, 2, 1), nov20 = Day(2003, 11, 20);
  EXPECT_TRUE(SaveTemperature(nov20, 36.6));
  EXPECT_TRUE(SaveTemperature(jan5, 36.5));
  EXPECT_TRUE(SaveTemperature(feb1, 36.9));
  EXPECT_EQ(Stored(), (Readings{{jan5, 36.5}, {feb1, 36.9}, {nov20, 36.6}}));
  EXPECT_TRUE(TakeBoxTexts().empty());

  // Two records of one day, as an import could leave them: both take the new value.
  using calvira::testing::R8, calvira::testing::UI4;
  calvira::testing::WriteRaw(u"Temperature", {UI4(jan5), R8(36.1)});
  EXPECT_TRUE(SaveTemperature(jan5, 37.0));
  EXPECT_EQ(Stored(), (Readings{{jan5, 37.0}, {jan5, 37.0}, {feb1, 36.9}, {nov20, 36.6}}));
}

TEST_F(TemperatureRecordsTest, DeletingOneOrAll) {
  ExpectDeletesByPosition([](DayNumber d) { return SaveTemperature(d, 36.6); }, DeleteTemperatureAt,
                          ReadTemperatures, DeleteAllTemperatures);
  EXPECT_TRUE(TakeBoxTexts().empty());
}

// Delete All on a full disk keeps every reading and says so; Temp History then lists them again
// instead of showing an empty list over a full store.
TEST_F(TemperatureRecordsTest, DeleteAllOnAFullDiskKeepsEveryReading) {
  MountFaulty();
  for (int d = 0; d < 5; ++d) ASSERT_TRUE(SaveTemperature(Day(2003, 1, 5) + d, 36.0 + d * 0.1));
  const Readings before = Stored();
  calvira::testing::FailFrom(1, calvira::testing::Fault::kDiskFull);
  EXPECT_FALSE(DeleteAllTemperatures());
  EXPECT_FALSE(SaveTemperature(Day(2003, 1, 5), 40.0));
  calvira::testing::ClearFault();
  EXPECT_FALSE(TakeBoxTexts().empty());
  Remount();
  EXPECT_EQ(Stored(), before);
}

// A reading is stored from the row index and listed again from the stored value: every row of
// either scale, from the first to the last, comes back as its own text.
TEST(ValuePicker, EveryRowComesBackInTheListAsItsOwnText) {
  const auto celsius = TemperatureScale::kCelsius, fahrenheit = TemperatureScale::kFahrenheit;
  for (const auto& [scale, count, last] : {std::tuple(celsius, 120u, u"41.9 \u00B0C"),
                                           std::tuple(fahrenheit, 217u, u"107.6 \u00B0F")}) {
    const std::vector<std::u16string> rows = ValuePickerRows(scale);
    ASSERT_EQ(rows.size(), count);
    EXPECT_EQ(rows.back(), last);
    for (size_t i = 0; i < rows.size(); ++i) {
      const std::u16string listed = TemperatureRow(u"1/5/03", PickedCelsius(scale, i), scale);
      // The number at the start of the picker's row ("98.6 °F" -> "98.6").
      const std::u16string number = rows[i].substr(0, rows[i].find(u' '));
      ASSERT_EQ(listed, u"1/5/03    " + number + ScaleUnit(scale)) << i;
    }
  }
}

TEST(TemperatureRow, RoundsToOneDecimalAndPadsOnlyTheHandheldsDates) {
  const auto c = TemperatureScale::kCelsius;
  // Dates of six, seven and eight characters and 37.0 as 98.6 are the Temp History scenarios';
  // a date text of another length is not padded.
  EXPECT_EQ(TemperatureRow(u"1/5/03", 41.94, c), u"1/5/03    41.9\u00B0C");
  EXPECT_EQ(TemperatureRow(u"1/5/3", 36.6, c), u"1/5/336.6\u00B0C");
  // A value from the store is formatted whole, however long its text: a damaged record shows as
  // what it holds instead of overrunning a buffer ("1" and 300 zeros, ".0", "°C").
  const std::u16string row = TemperatureRow(u"1/5/03", 1e300, c);
  EXPECT_EQ(row.size(), 10u + 301u + 2u + 2u);
  EXPECT_EQ(row.substr(10, 2) + row.substr(row.size() - 4), u"10.0\u00B0C");
}

}  // namespace
