// Cycle Charts and Temperature Charts as a user meets them: the bars of each page and the
// paging, the min/max option, the temperature window's paging, a tap's day detail, both scales.
// Dots, lines and bars are checked in the frame shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "charts/chart_layout.h"
#include "charts/cycle_charts_view.h"
#include "charts/temp_charts_view.h"
#include "charts/temperature_window.h"
#include "cycles/cycle_records.h"
#include "frame/document.h"
#include "gfx/fast_bitmap.h"
#include "gfx/graphic_buffer.h"
#include "platform/dialog.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/ce_prop.h"
#include "store/settings.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

// `lengths.size()` cycles one after the other from 1 March 2001, each as long as given.
std::vector<CycleRecord> CyclesOf(const std::vector<int32_t>& lengths) {
  std::vector<CycleRecord> out;
  DayNumber start = Day(2001, 3, 1);
  for (int32_t length : lengths) {
    out.push_back({start, 5, length});
    start += static_cast<DayNumber>(length);
  }
  return out;
}

void SetShowMinMax(bool on) {
  Settings settings;
  ReadSettings(&settings);
  settings.show_min_max = on;
  ASSERT_TRUE(WriteSettings(settings));
}

// --- Cycle Charts ---

TEST(CycleCharts, Screenshot) {
  Scenario s("cycle charts shot");
  s.Before([] { StoreCycles(CyclesOf({28, 30, 27, 29, 31, 26, 28, 33, 29, 27, 30, 28, 29})); });
  s.Menu(kCmdCycleCharts)
      .Check([] { ExpectView(kCycleChartsView); })
      .Screenshot(ShotPath("cycle-charts.png"));
  s.RunCleanly();
}

// A bar of height h at x, as the bar picture's top h rows, standing on the box's bottom line.
void ExpectBar(int32_t x, int32_t h) {
  CFastBitmap bar;
  ASSERT_TRUE(bar.Load(kImgChartBar));
  const int32_t top = 238 - h;
  for (const int32_t r : {0, h / 2, h - 1}) {
    for (int32_t c = 0; c < 6; ++c) {
      EXPECT_EQ(Scenario::PixelAt(x + c, top + r), bar.Pixels()->At(c, r))
          << "bar at " << x << " row " << r;
    }
  }
  bool above_differs = false;
  for (int32_t c = 0; c < 6; ++c) {
    above_differs |= Scenario::PixelAt(x + c, top - 1) != bar.Pixels()->At(c, 0);
  }
  EXPECT_TRUE(above_differs) << "bar at " << x << " is taller than " << h;
}

ce::HWND ChartsDialog() {
  return static_cast<CCycleChartsView*>(CDocument_::FindView(kCycleChartsView))->Dialog();
}

// Lengths 26..30 in turn, so that every page has the same axis (scale 25 from 24) and shows by
// its bars where it starts.
int32_t Cycled(size_t i) {
  return 26 + static_cast<int32_t>(i % 5);
}

void ExpectPage(size_t first, size_t n, bool backward) {
  const int32_t pitch = n >= 12 ? 16 : 200 / static_cast<int32_t>(n);
  for (size_t i = 0; i < n; ++i) {
    SCOPED_TRACE(first + i);
    const auto x = static_cast<int32_t>(backward ? 220 - (n - 1 - i) * pitch : 40 + i * pitch);
    ExpectBar(x, (Cycled(first + i) + 2 - 26) * 25);
  }
}

// Fewer than a page, and many pages: the arrows move the bars drawn and the years of the page.
// Every page boundary is the paging table's. Add opens Add New Cycle.
TEST(CycleCharts, PagesTwelveCyclesAtATime) {
  struct Step {
    int32_t arrow_x;  // 0: the first page as opened
    size_t first;
    bool backward;
    const char16_t* years = nullptr;  // first and last, when checked
  };
  struct Case {
    size_t count;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {11, {{0, 0, false}, {117, 0, false}, {102, 0, false}}},
      // 1 March 2001 + 306 days: 2 January 2002; cycle 18 starts in 2002, cycle 29 in 2003.
      {30,
       {{0, 0, false, u"20012002"},
        {117, 12, false},
        {117, 18, false, u"20022003"},
        {102, 6, true},
        {102, 0, true},
        {102, 0, true}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    std::vector<int32_t> lengths;
    for (size_t i = 0; i < c.count; ++i) lengths.push_back(Cycled(i));
    Scenario s("cycle chart pages");
    s.Before([&lengths] { StoreCycles(CyclesOf(lengths)); });
    s.Menu(kCmdCycleCharts);
    for (const Step& step : c.steps) {
      if (step.arrow_x != 0) s.Tap(step.arrow_x, 17);
      s.Check([&c, step] {
        SCOPED_TRACE(step.first);
        ExpectView(kCycleChartsView);
        ExpectPage(step.first, std::min<size_t>(c.count, 12), step.backward);
        if (step.years != nullptr) {
          EXPECT_EQ(
              Text(ChartsDialog(), kCtlChartFirstYear) + Text(ChartsDialog(), kCtlChartLastYear),
              step.years);
        }
      });
    }
    s.TapControl(kCtlChartAdd).Check([] { ExpectView(kAddCycleView); });
    s.RunCleanly();
  }
}

TEST(CycleCharts, MinMaxOptionKeepsOneAxisForEveryPage) {
  // Twelve cycles of 26..30, then twelve of 40..44.
  std::vector<int32_t> lengths;
  for (size_t i = 0; i < 24; ++i) lengths.push_back(Cycled(i) + (i < 12 ? 0 : 14));
  struct Case {
    bool show_min_max;
    int32_t first_bar;   // height of the first bar of the second page (42 days)
    int32_t line_above;  // y of the axis line above the bottom one
  };
  const Case cases[] = {
      {false, 100, 188},  // scaled to 40..44 alone: 25 pixels a day
      {true, 162, 220},   // 26..44 on every page: 9 pixels a day, a line every two days
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.show_min_max);
    Scenario s("cycle chart min max");
    s.Before([&lengths, &c] {
      StoreCycles(CyclesOf(lengths));
      SetShowMinMax(c.show_min_max);
    });
    s.Menu(kCmdCycleCharts).Tap(117, 17).Check([&c] {
      ExpectBar(40, c.first_bar);
      EXPECT_EQ(Scenario::PixelAt(100, c.line_above), 200);
      EXPECT_EQ(Scenario::PixelAt(100, 238), 200);
    });
    s.RunCleanly();
  }
}

TEST(CycleCharts, WideSpreadKeepsBarsInTheBox) {
  // 284 days between the shortest and the longest: a fractional scale of 200 / 284 per day.
  Scenario s("cycle chart wide");
  s.Before([] { StoreCycles(CyclesOf({20, 300, 150})); });
  s.Menu(kCmdCycleCharts).Check([] {
    ExpectBar(40, 1);     // (20 + 2 - 20) x 200 / 284
    ExpectBar(106, 199);  // 282 days above the bottom line
    ExpectBar(172, 93);
    EXPECT_EQ(Scenario::PixelAt(100, 238 - 199), 200);  // the longest length's line meets it
  });
  s.RunCleanly();
}

// --- Temperature Charts ---

// Readings stored as Temp History leaves them, with the scale set (1 = Celsius).
void StoreReadings(const std::vector<std::pair<DayNumber, double>>& readings, uint16_t scale) {
  StoreCycles({});
  Settings settings;
  ReadSettings(&settings);
  settings.scale = scale;
  ASSERT_TRUE(WriteSettings(settings));
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

CTempChartsView* TempCharts() {
  return static_cast<CTempChartsView*>(CDocument_::FindView(kTempChartsView));
}

// Black pixels of the text in a rectangle of the frame.
int32_t InkIn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  int32_t ink = 0;
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) ink += Scenario::PixelAt(x, y) == 0 ? 1 : 0;
  }
  return ink;
}

int32_t DotsIn(int32_t column) {
  int32_t dots = 0;
  for (int32_t y = 36; y <= 240; ++y) dots += Scenario::PixelAt(ReadingX(column), y) == 6000;
  return dots;
}

// A month of readings up to 30 November 2026, rising after the fourteenth day.
std::vector<std::pair<DayNumber, double>> AMonth() {
  std::vector<std::pair<DayNumber, double>> out;
  const DayNumber last = Day(2026, 11, 30);
  for (int32_t i = 29; i >= 0; --i) {
    if (i == 7) continue;  // a day without a reading
    out.emplace_back(last - static_cast<DayNumber>(i), i > 14 ? 36.4 + 0.1 * (i % 3) : 36.9);
  }
  return out;
}

TEST(TempCharts, Screenshots) {
  struct Case {
    uint16_t scale;
    const char* shot;
  };
  for (const Case& c : {Case{1, "temp-charts.png"}, Case{2, "temp-charts-f.png"}}) {
    Scenario s("temp charts shot");
    s.Before([&c] { StoreReadings(AMonth(), c.scale); });
    s.Menu(kCmdTempCharts)
        .Check([] { ExpectView(kTempChartsView); })
        .Tap(33 + 8 * 20, 100)
        .Screenshot(ShotPath(c.shot));
    s.RunCleanly();
  }
}

TEST(TempCharts, DotsSitWhereTheTicksPutThem) {
  // 36.0 to 37.2: ticks 37.2, 36.8, 36.4, 36.0, 35.6; 36.6 lies 24 pixels below 36.8.
  const DayNumber last = Day(2026, 11, 30);
  Scenario s("temp chart dots");
  s.Before([last] { StoreReadings({{last - 24, 36.0}, {last - 10, 36.6}, {last, 37.2}}, 1); });
  s.Menu(kCmdTempCharts).Check([] {
    EXPECT_EQ(Scenario::PixelAt(ReadingX(0), 188), 6000);
    EXPECT_EQ(Scenario::PixelAt(ReadingX(14), 112), 6000);
    EXPECT_EQ(Scenario::PixelAt(ReadingX(24), 38), 6000);
    EXPECT_EQ(DotsIn(1), 0);
    // The line from the first dot to the second, half-way.
    EXPECT_EQ(Scenario::PixelAt((ReadingX(0) + ReadingX(14)) / 2, (188 + 112) / 2), 200);
  });
  s.RunCleanly();
}

TEST(TempCharts, PagesByTwentyFiveDaysAndRebuildsTemp) {
  const DayNumber last = Day(2026, 11, 30);
  Scenario s("temp chart pages");
  s.Before([last] { StoreReadings({{last - 25, 36.5}, {last - 3, 36.8}, {last, 36.6}}, 1); });
  auto expect_window = [](DayNumber end) {
    EXPECT_EQ(TempCharts()->FirstDay(), end - 24);
    EXPECT_EQ(Text(TempCharts()->Dialog(), kCtlChartFirstDate), FormatDate(end - 24));
    EXPECT_EQ(Text(TempCharts()->Dialog(), kCtlChartLastDate), FormatDate(end));
  };
  auto expect_temp = [](std::vector<std::pair<DayNumber, int32_t>> days_and_x) {
    CCeDatabase db;
    ASSERT_TRUE(db.Open(u"Temp", ce::PropId(0, ce::CEVT_UI4)));
    ASSERT_EQ(db.RecordCount(), days_and_x.size());
    for (const auto& [day, x] : days_and_x) {
      CCePropArray props;
      ASSERT_TRUE(db.ReadCurrRecord(props));
      EXPECT_EQ(static_cast<DayNumber>(props.At(0).I4()), day);
      EXPECT_EQ(props.At(2).I2(), x);
      EXPECT_GE(props.At(3).I2(), 38);
      db.SeekNext();
    }
    db.Close();
  };
  s.Menu(kCmdTempCharts)
      .Check([=] {
        expect_window(last);
        expect_temp({{last - 3, ReadingX(21)}, {last, ReadingX(24)}});
        EXPECT_GT(DotsIn(21), 0);
      })
      .Tap(102, 17)
      .Check([=] {
        expect_window(last - 25);
        expect_temp({{last - 25, ReadingX(24)}});
        EXPECT_EQ(Scenario::PixelAt(ReadingX(24), 38), 6000);  // alone: on the top line
        EXPECT_EQ(DotsIn(21), 0);
      })
      .Tap(117, 17)
      .Tap(117, 17)
      .Check([=] {
        // Past the latest reading: an empty window with the fixed labels.
        expect_window(last + 25);
        expect_temp({});
        for (int32_t column = 0; column < 25; ++column) EXPECT_EQ(DotsIn(column), 0);
        EXPECT_GT(InkIn(2, 32, 30, 46), 0);
      });
  s.RunCleanly();

  // Back in 1582 the arrows stop where dates begin, as the calendar's months do: the first page
  // starts on 1 January 1582 and stays the first.
  Scenario early("temp chart first page");
  early.Before([] { StoreReadings({{Day(1582, 2, 1), 36.5}}, 1); });
  early.Menu(kCmdTempCharts)
      .Tap(102, 17)
      .Check([=] { expect_window(Day(1582, 1, 25)); })
      .Tap(102, 17)
      .Check([=] { expect_window(Day(1582, 1, 25)); });
  early.RunCleanly();
}

TEST(TempCharts, TapShowsTheDayOfItsColumn) {
  const DayNumber last = Day(2026, 11, 30);
  struct Case {
    int32_t x;
    bool reading;  // the day has a reading
    int32_t pages_forward;
  };
  const Case cases[] = {
      {229, true, 0},   // day 24, the latest reading
      {30, false, 0},   // day 0 has none: the date only
      {36, true, 0},    // still day 0's column... of a window whose first day has one
      {120, false, 1},  // an empty window
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    Scenario s("temp chart detail");
    s.Before([last, &c] {
      std::vector<std::pair<DayNumber, double>> readings = {{last, 36.6}};
      if (c.x == 36) readings.push_back({last - 24, 36.7});
      StoreReadings(readings, 1);
    });
    s.Menu(kCmdTempCharts);
    for (int32_t i = 0; i < c.pages_forward; ++i) s.Tap(117, 17);
    s.Check([] { EXPECT_GT(InkIn(110, 240, 240, 268), 0); })  // the hint
        .Tap(c.x, 150)
        .Check([&c] {
          EXPECT_EQ(InkIn(110, 240, 176, 268), 0);  // the hint is gone
          EXPECT_GT(InkIn(178, 254, 240, 268), 0);  // the date
          EXPECT_EQ(InkIn(178, 240, 240, 253) > 0, c.reading);
        });
    s.RunCleanly();
  }
}

}  // namespace
}  // namespace calvira::testing
