// The charts' layout without a window: the length axis and the pages of Cycle Charts, the
// temperature axis and the window of Temp Charts; and the readings the window reads and the
// "Temp" database it rebuilds, whole or not at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "charts/chart_layout.h"
#include "charts/temperature_window.h"
#include "support/days.h"
#include "support/record_store.h"

namespace {

using calvira::testing::Day;

TEST(LengthAxis, Layouts) {
  // Shortest, longest, count; then scale, pitch, the number of lines and the first lines.
  const std::tuple<int32_t, int32_t, size_t, int32_t, int32_t, size_t, std::vector<LengthAxisLine>>
      cases[] = {
          {28, 28, 2, 50, 100, 3, {{238, 26, 6}, {138, 28, 6}, {38, 30, 6}}},
          {26, 30, 5, 25, 40, 5, {{238, 24, 6}, {188, 26, 6}, {138, 28, 6}}},
          {20, 52, 11, 5, 18, 19, {{238, 18, 6}, {228, 20, 6}}},
          {20, 54, 12, 5, 16, 11, {{238, 18, 0}, {223, 21, 0}, {208, 24, 0}}},
          {27, 29, 13, 33, 16, 4, {{238, 25, 6}, {172, 27, 6}}},
      };
  for (const auto& [lo, hi, count, scale, pitch, lines, first] : cases) {
    SCOPED_TRACE(hi - lo);
    const LengthAxis axis = LayOutLengthAxis(lo, hi, count);
    EXPECT_EQ(std::pair(axis.scale, axis.pitch), std::pair(scale, pitch));
    ASSERT_EQ(axis.lines.size(), lines);
    for (size_t j = 0; j < first.size(); ++j) {
      const LengthAxisLine &got = axis.lines[j], &want = first[j];
      EXPECT_TRUE(got.y == want.y && got.label == want.label && got.label_x == want.label_x) << j;
    }
  }
  // A spread of 34 ends with the longest length (its place is the bars' test below).
  EXPECT_EQ(LayOutLengthAxis(20, 54, 12).lines.back().label, 54);
}

TEST(LengthAxis, BarsMeetTheirLinesAndStayInTheBox) {
  for (const auto& [lo, hi] :
       {std::pair(28, 28), {26, 30}, {20, 52}, {20, 54}, {20, 216}, {14, 400}, {14, 3000}}) {
    SCOPED_TRACE(hi);
    const LengthAxis axis = LayOutLengthAxis(lo, hi, 12);
    int32_t previous = -1;
    for (int32_t length = lo; length <= hi; ++length) {
      const int32_t h = BarHeight(axis, length, lo);
      EXPECT_GE(h, std::max(previous, 0));
      EXPECT_LE(h, 200);
      previous = h;
    }
    for (const LengthAxisLine& line : axis.lines) {
      EXPECT_TRUE(line.label < lo || 238 - BarHeight(axis, line.label, lo) == line.y) << line.label;
    }
    EXPECT_TRUE(lo == hi || BarHeight(axis, lo, lo) < BarHeight(axis, hi, lo));
  }
  // 197 days and more: a whole pixel per day no longer fits.
  const LengthAxis axis = LayOutLengthAxis(20, 220, 30);
  EXPECT_DOUBLE_EQ(axis.pixels_per_day, 200.0 / 204);
  ASSERT_EQ(axis.lines.size(), 11u);
  EXPECT_EQ((std::tuple{axis.scale, axis.lines[0].y, axis.lines[10].label, axis.lines[10].y,
                        BarHeight(axis, 220, 20), BarHeight(axis, 20, 20)}),
            std::tuple(0, 238, 220, 238 - 200 * 202 / 204, 198, 2));
}

TEST(CyclePages, PlacesPagingAndTheOverallRange) {
  const LengthAxis axis = LayOutLengthAxis(26, 30, 13);
  EXPECT_EQ(
      (std::tuple{BarX(axis, 0, 12, false), BarX(axis, 11, 12, false), BarX(axis, 11, 12, true),
                  BarX(axis, 0, 12, true), BarX(LayOutLengthAxis(28, 28, 2), 1, 2, false)}),
      std::tuple(40, 40 + 11 * 16, 220, 220 - 11 * 16, 140));
  // The cycles, the steps forward (+) and back (-), and the first cycle of each page after them.
  const std::tuple<size_t, std::string, std::vector<size_t>> cases[] = {
      {11, "+-", {0, 0}},
      {12, "+-", {0, 0}},
      {13, "++--", {1, 1, 0, 0}},
      {30, "+++---", {12, 18, 18, 6, 0, 0}}};
  for (const auto& [count, steps, firsts] : cases) {
    SCOPED_TRACE(count);
    CyclePage page = FirstCyclePage(count);
    EXPECT_EQ(page.first, 0u);
    for (size_t i = 0; i < steps.size(); ++i) {
      page = steps[i] == '+' ? CyclePageForward(page, count) : CyclePageBack(page, count);
      EXPECT_EQ(page, (CyclePage{firsts[i], std::min<size_t>(count, 12)})) << i;
    }
  }
  EXPECT_EQ((std::tuple{UsesOverallRange(true, 30), UsesOverallRange(false, 11),
                        UsesOverallRange(false, 12)}),
            std::tuple(true, true, false));
}

TEST(TempWindow, PagesStopWhereDatesEnd) {
  const DayNumber first = Day(1582, 1, 1), last = Day(9366, 12, 31);
  // The first window stays the first, a short step back reaches it, and a reading in its first
  // days, or a day number without a date, shows in it; the last window stays the last. Paging by
  // 25 days each way is the Temp Charts scenario's.
  const std::tuple<DayNumber, int32_t, DayNumber> cases[] = {
      {first + 24, 0, first + 24}, {first + 24, -1, first + 24}, {first + 30, -1, first + 24},
      {first + 3, 0, first + 24},  {0, 0, first + 24},           {last, 1, last},
      {last - 10, 1, last},        {last, -1, last - 25},        {0xFFFFFFFFu, 0, last},
  };
  for (const auto& [from, pages, expected] : cases) {
    EXPECT_EQ(TempWindowEnd(from, pages), expected) << from << " " << pages;
  }
}

std::string Labels(const AxisTicks& ticks, bool celsius) {
  std::u16string out;
  for (const AxisLabel& label : ticks.labels) out += u" " + AxisLabelText(label, celsius);
  return std::string(out.begin(), out.end());  // the labels are ASCII
}

TEST(AxisTicks, Layouts) {
  // The lowest and highest reading, if any; the labels and the number of ticks set.
  const std::tuple<bool, double, double, const char*, int32_t> cases[] = {
      {true, 36.0, 36.0, " 36.0 34.5 33.0 31.5 30.0", 5},
      {true, 36.4, 36.8, " 36.8 36.7 36.6 36.5 36.4", 5},
      {true, 36.2, 36.7, " 36.7 36.5 36.3 36.1 35.9", 5},
      {true, 36.0, 37.2, " 37.2 36.8 36.4 36.0 35.6", 5},
      {true, 30.1, 30.2, " 30.2 30.1 30.0", 4},
      {true, 30.5, 30.5, " 30.5 30.3 30.1", 4},
      {true, 30.1, 30.1, " 30.1 30.0", 3},
      {true, 30.0, 30.0, " 30.0", 1},
      {true, 30.0, 30.9, " 30.9 30.6 30.3 30.0", 4},
      {false, 0, 0, " 42 39 36 33 30", 0},  // no reading
  };
  for (const auto& [any, min, max, labels, set] : cases) {
    const AxisTicks ticks = DrawAxisLabels(any, min, max);
    EXPECT_EQ(Labels(ticks, true), labels);
    EXPECT_EQ(ticks.set, set) << labels;
  }
  EXPECT_EQ(Labels(DrawAxisLabels(false, 0, 0), false), " 107 102 96 91 86");
  // The lowest and highest reading; a reading and the y of its dot. Readings below the last
  // tick stay in the box (the last two).
  const std::tuple<double, double, double, int32_t> dots[] = {
      {36.0, 36.0, 36.0, 38},  {36.4, 36.8, 36.8, 38},  {36.4, 36.8, 36.7, 88},
      {36.4, 36.8, 36.6, 138}, {36.4, 36.8, 36.5, 188}, {36.4, 36.8, 36.4, 238},
      {36.2, 36.7, 36.6, 63},  {36.2, 36.7, 36.7, 38},  {36.2, 36.7, 36.2, 163},
      {36.0, 37.2, 36.6, 112}, {36.0, 37.2, 37.2, 38},  {36.0, 37.2, 36.0, 188},
      {30.1, 30.2, 30.1, 88},  {30.5, 30.5, 30.5, 38},  {30.1, 30.1, 30.1, 38},
      {30.0, 30.0, 30.0, 38},  {30.0, 30.9, 30.0, 188}, {29.5, 29.5, 29.5, 238},
      {30.1, 30.2, 29.9, 238},
  };
  for (const auto& [min, max, reading, y] : dots) {
    EXPECT_EQ(ReadingY(DrawAxisLabels(true, min, max), reading), y) << min << " " << reading;
  }
}

TEST(AxisTicks, DotsStayInTheBox) {
  // Equal ticks and no ticks at all.
  AxisTicks equal;
  equal.tick = {36.5, 36.5, 36.5, 36.5, 36.5};
  equal.set = 5;
  EXPECT_EQ((std::tuple{ReadingY(equal, 36.5), ReadingY(equal, 36.9), ReadingY(AxisTicks{}, 36.6)}),
            std::tuple(38, 38, 238));
  for (double t = 25.0; t < 45.0; t += 0.05) {
    const AxisTicks ticks = DrawAxisLabels(true, t, t + 1.3);
    for (double r = t - 1.0; r < t + 2.0; r += 0.1) {
      const int32_t y = ReadingY(ticks, r);
      EXPECT_TRUE(y >= 38 && y <= 238) << t << " " << r;
    }
  }
  EXPECT_EQ(std::pair(TappedColumn(229), ToTenth(36.649999)), std::pair(24, 36.6));
}

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
  const std::pair<DayNumber, double> readings[] = {{1000, 36.5}, {990, 36.4}, {1024, 36.9},
                                                   {1025, 37.0}, {975, 36.1}, {1001, 36.6}};
  for (const auto& [day, celsius] : readings) {
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
  const auto unchanged = [] { EXPECT_EQ(TempDays(), (std::vector<DayNumber>{10, 11})); };
  EXPECT_GT(FailEachWrite([&] { return RebuildTempDatabase(next); }, unchanged), 1);
  Remount();
  EXPECT_EQ(TempDays(), (std::vector<DayNumber>{20, 21, 30}));
}

}  // namespace
