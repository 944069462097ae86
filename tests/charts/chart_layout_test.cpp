#include "charts/chart_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct AxisCase {
  const char* name;
  int32_t lo, hi;
  size_t count;
  int32_t scale, pitch;
  size_t lines;
  std::vector<LengthAxisLine> some;  // lines checked by index order: first ones given
};

TEST(LengthAxis, Layouts) {
  const AxisCase cases[] = {
      {"two of 28", 28, 28, 2, 50, 100, 3, {{238, 26, 6}, {138, 28, 6}, {38, 30, 6}}},
      {"26 to 30", 26, 30, 5, 25, 40, 5, {{238, 24, 6}, {188, 26, 6}, {138, 28, 6}}},
      {"spread 32", 20, 52, 11, 5, 18, 19, {{238, 18, 6}, {228, 20, 6}}},
      {"spread 34", 20, 54, 12, 5, 16, 11, {{238, 18, 0}, {223, 21, 0}, {208, 24, 0}}},
      {"thirteen", 27, 29, 13, 33, 16, 4, {{238, 25, 6}, {172, 27, 6}}},
  };
  for (const AxisCase& c : cases) {
    SCOPED_TRACE(c.name);
    const LengthAxis axis = LayOutLengthAxis(c.lo, c.hi, c.count);
    EXPECT_EQ(axis.scale, c.scale);
    EXPECT_EQ(axis.pitch, c.pitch);
    ASSERT_EQ(axis.lines.size(), c.lines);
    for (size_t j = 0; j < c.some.size(); ++j) {
      EXPECT_EQ(axis.lines[j].y, c.some[j].y) << j;
      EXPECT_EQ(axis.lines[j].label, c.some[j].label) << j;
      EXPECT_EQ(axis.lines[j].label_x, c.some[j].label_x) << j;
    }
  }
}

TEST(LengthAxis, SpreadThirtyFourEndsWithTheLongestLength) {
  const LengthAxis axis = LayOutLengthAxis(20, 54, 12);
  EXPECT_EQ(axis.lines.back().label, 54);
  EXPECT_EQ(axis.lines.back().y, 238 - 36 * 5);
  EXPECT_EQ(axis.lines[9].label, 18 + 27);
}

TEST(LengthAxis, BarsMeetTheirLinesAndStayInTheBox) {
  struct Case {
    int32_t lo, hi;
  } cases[] = {{28, 28}, {26, 30}, {20, 52}, {20, 54}, {20, 216}, {14, 400}, {14, 3000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hi);
    const LengthAxis axis = LayOutLengthAxis(c.lo, c.hi, 12);
    int32_t previous = -1;
    for (int32_t length = c.lo; length <= c.hi; ++length) {
      const int32_t h = BarHeight(axis, length, c.lo);
      EXPECT_GE(h, 0);
      EXPECT_LE(h, 200);
      EXPECT_GE(h, previous);
      previous = h;
    }
    for (const LengthAxisLine& line : axis.lines) {
      if (line.label < c.lo) continue;
      EXPECT_EQ(238 - BarHeight(axis, line.label, c.lo), line.y) << line.label;
    }
    if (c.lo < c.hi) {
      EXPECT_LT(BarHeight(axis, c.lo, c.lo), BarHeight(axis, c.hi, c.lo));
    }
  }
}

TEST(LengthAxis, WideSpreadUsesAFractionalScale) {
  // 197 days and more: a whole pixel per day no longer fits.
  const LengthAxis axis = LayOutLengthAxis(20, 220, 30);
  EXPECT_EQ(axis.scale, 0);
  EXPECT_DOUBLE_EQ(axis.pixels_per_day, 200.0 / 204);
  ASSERT_EQ(axis.lines.size(), 11u);
  EXPECT_EQ(axis.lines[0].y, 238);
  EXPECT_EQ(axis.lines[10].label, 220);
  EXPECT_EQ(axis.lines[10].y, 238 - 200 * 202 / 204);
  EXPECT_EQ(BarHeight(axis, 220, 20), 198);
  EXPECT_EQ(BarHeight(axis, 20, 20), 2);
}

TEST(CyclePages, BarPlaces) {
  const LengthAxis axis = LayOutLengthAxis(26, 30, 13);
  EXPECT_EQ(BarX(axis, 0, 12, false), 40);
  EXPECT_EQ(BarX(axis, 11, 12, false), 40 + 11 * 16);
  EXPECT_EQ(BarX(axis, 11, 12, true), 220);
  EXPECT_EQ(BarX(axis, 0, 12, true), 220 - 11 * 16);
  EXPECT_EQ(BarX(LayOutLengthAxis(28, 28, 2), 1, 2, false), 140);
}

TEST(CyclePages, Paging) {
  struct Step {
    bool forward;
    CyclePage expected;
  };
  struct Case {
    size_t count;
    std::vector<Step> steps;
  } cases[] = {
      {11, {{true, {0, 11}}, {false, {0, 11}}}},
      {12, {{true, {0, 12}}, {false, {0, 12}}}},
      {13, {{true, {1, 12}}, {true, {1, 12}}, {false, {0, 12}}, {false, {0, 12}}}},
      {30,
       {{true, {12, 12}},
        {true, {18, 12}},
        {true, {18, 12}},
        {false, {6, 12}},
        {false, {0, 12}},
        {false, {0, 12}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    CyclePage page = FirstCyclePage(c.count);
    EXPECT_EQ(page.first, 0u);
    for (const Step& step : c.steps) {
      page = step.forward ? CyclePageForward(page, c.count) : CyclePageBack(page, c.count);
      EXPECT_EQ(page, step.expected);
    }
  }
}

TEST(TempWindow, PagesStopWhereDatesEnd) {
  DayNumber first = 0, last = 0, today = 0;
  ASSERT_TRUE(DateToDayNumber(1582, 1, 1, first));
  ASSERT_TRUE(DateToDayNumber(9366, 12, 31, last));
  ASSERT_TRUE(DateToDayNumber(2026, 12, 6, today));
  const struct Case {
    DayNumber from;
    int32_t pages;
    DayNumber expected;
  } cases[] = {
      {today, 0, today},
      {today, -1, today - 25},
      {today, 1, today + 25},
      {first + 24, 0, first + 24},   // the first window
      {first + 24, -1, first + 24},  // stays the first
      {first + 30, -1, first + 24},  // a short step back to it
      {first + 3, 0, first + 24},    // a reading in its first days still shows in it
      {0, 0, first + 24},            // a day number without a date
      {last, 1, last},               // the last window stays
      {last - 10, 1, last},
      {last, -1, last - 25},
      {0xFFFFFFFFu, 0, last},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " " << c.pages);
    EXPECT_EQ(TempWindowEnd(c.from, c.pages), c.expected);
  }
  // Paged back one page at a time from today, the window stops at the first one.
  DayNumber end = today;
  for (int i = 0; i < 12000; ++i) end = TempWindowEnd(end, -1);
  EXPECT_EQ(end, first + 24);
}

TEST(CyclePages, OverallRange) {
  EXPECT_TRUE(UsesOverallRange(true, 30));
  EXPECT_TRUE(UsesOverallRange(false, 11));
  EXPECT_FALSE(UsesOverallRange(false, 12));
}

std::vector<std::u16string> Labels(const AxisTicks& ticks, bool celsius) {
  std::vector<std::u16string> out;
  for (const AxisLabel& label : ticks.labels) out.push_back(AxisLabelText(label, celsius));
  return out;
}

struct TickCase {
  const char* name;
  bool any;
  double min, max;
  std::vector<std::u16string> labels;
  int32_t set;
  std::vector<std::pair<double, int32_t>> dots;  // reading, y
};

TEST(AxisTicks, Layouts) {
  const TickCase cases[] = {
      {"all equal at 36.0",
       true,
       36.0,
       36.0,
       {u"36.0", u"34.5", u"33.0", u"31.5", u"30.0"},
       5,
       {{36.0, 38}}},
      {"36.4 to 36.8",
       true,
       36.4,
       36.8,
       {u"36.8", u"36.7", u"36.6", u"36.5", u"36.4"},
       5,
       {{36.8, 38}, {36.7, 88}, {36.6, 138}, {36.5, 188}, {36.4, 238}}},
      {"36.2 to 36.7",
       true,
       36.2,
       36.7,
       {u"36.7", u"36.5", u"36.3", u"36.1", u"35.9"},
       5,
       {{36.6, 63}, {36.7, 38}, {36.2, 163}}},
      {"36.0 to 37.2",
       true,
       36.0,
       37.2,
       {u"37.2", u"36.8", u"36.4", u"36.0", u"35.6"},
       5,
       {{36.6, 112}, {37.2, 38}, {36.0, 188}}},
      {"30.1 and 30.2", true, 30.1, 30.2, {u"30.2", u"30.1", u"30.0"}, 4, {{30.1, 88}}},
      {"30.5 alone", true, 30.5, 30.5, {u"30.5", u"30.3", u"30.1"}, 4, {{30.5, 38}}},
      {"30.1 alone", true, 30.1, 30.1, {u"30.1", u"30.0"}, 3, {{30.1, 38}}},
      {"30.0 alone", true, 30.0, 30.0, {u"30.0"}, 1, {{30.0, 38}}},
      {"down to 30.0", true, 30.0, 30.9, {u"30.9", u"30.6", u"30.3", u"30.0"}, 4, {{30.0, 188}}},
      {"no reading", false, 0, 0, {u"42", u"39", u"36", u"33", u"30"}, 0, {}},
  };
  for (const TickCase& c : cases) {
    SCOPED_TRACE(c.name);
    const AxisTicks ticks = DrawAxisLabels(c.any, c.min, c.max);
    EXPECT_EQ(Labels(ticks, true), c.labels);
    EXPECT_EQ(ticks.set, c.set);
    for (const auto& [t, y] : c.dots) EXPECT_EQ(ReadingY(ticks, t), y) << t;
  }
}

TEST(AxisTicks, FahrenheitLabelsConvertTheSameTicks) {
  EXPECT_EQ(Labels(DrawAxisLabels(false, 0, 0), false),
            (std::vector<std::u16string>{u"107", u"102", u"96", u"91", u"86"}));
  EXPECT_EQ(Labels(DrawAxisLabels(true, 36.0, 37.2), false),
            (std::vector<std::u16string>{u"99.0", u"98.2", u"97.5", u"96.8", u"96.1"}));
  EXPECT_EQ(Labels(DrawAxisLabels(true, 30.1, 30.2), false).size(), 3u);
}

TEST(AxisTicks, DotsStayInTheBox) {
  // Readings below the last tick, equal ticks and no ticks at all.
  const AxisTicks low = DrawAxisLabels(true, 29.5, 29.5);
  EXPECT_EQ(ReadingY(low, 29.5), 238);
  const AxisTicks pair = DrawAxisLabels(true, 30.1, 30.2);
  EXPECT_EQ(ReadingY(pair, 29.9), 238);
  AxisTicks equal;
  equal.tick = {36.5, 36.5, 36.5, 36.5, 36.5};
  equal.set = 5;
  EXPECT_EQ(ReadingY(equal, 36.5), 38);
  EXPECT_EQ(ReadingY(equal, 36.9), 38);
  EXPECT_EQ(ReadingY(AxisTicks{}, 36.6), 238);
  for (double t = 25.0; t < 45.0; t += 0.05) {
    const AxisTicks ticks = DrawAxisLabels(true, t, t + 1.3);
    for (double r = t - 1.0; r < t + 2.0; r += 0.1) {
      const int32_t y = ReadingY(ticks, r);
      EXPECT_GE(y, 38);
      EXPECT_LE(y, 238);
    }
  }
}

TEST(AxisTicks, ColumnsAndDetail) {
  EXPECT_EQ(TappedColumn(30), 0);
  EXPECT_EQ(TappedColumn(229), 24);
  EXPECT_EQ(ReadingX(24), 225);
  EXPECT_EQ(ToTenth(36.649999), 36.6);
  EXPECT_EQ(DetailValueText(36.6, true), u"36.6 \u00b0C");
  EXPECT_EQ(DetailValueText(37.0, false), u"98.6 \u00b0F");
}

}  // namespace
