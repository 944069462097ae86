// Cycle Charts and Temperature Charts as a user meets them: the bars of each page and the
// paging, the min/max option, the temperature window's paging, a tap's day detail, both scales.
// Dots, lines and bars are checked in the frame shown.

#include <string>
#include <vector>

#include "charts/chart_layout.h"
#include "charts/cycle_charts_view.h"
#include "charts/temp_charts_view.h"
#include "charts/temperature_window.h"
#include "gfx/fast_bitmap.h"
#include "gfx/graphic_buffer.h"
#include "scenarios/cycle_steps.h"
#include "store/catalogue.h"

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

// The paging table is the pages' own test; here the arrows move the bars drawn, forward and
// backward, and the years of the page. Add opens Add New Cycle.
TEST(CycleCharts, PagesTwelveCyclesAtATime) {
  struct Step {
    int32_t arrow_x;  // 0: the first page as opened
    size_t first;
    bool backward;
    const char16_t* years = nullptr;  // first and last, when checked
  };
  // 1 March 2001 + 306 days: 2 January 2002; cycle 18 starts in 2002, cycle 29 in 2003.
  const Step steps[] = {
      {0, 0, false, u"20012002"}, {117, 12, false}, {117, 18, false, u"20022003"}, {102, 6, true}};
  std::vector<int32_t> lengths;
  for (size_t i = 0; i < 30; ++i) lengths.push_back(Cycled(i));
  Scenario s("cycle chart pages");
  s.Before([&lengths] { StoreCycles(CyclesOf(lengths)); });
  s.Menu(kCmdCycleCharts);
  for (const Step& step : steps) {
    if (step.arrow_x != 0) s.Tap(step.arrow_x, 17);
    s.Check([step] {
      SCOPED_TRACE(step.first);
      ExpectView(kCycleChartsView);
      ExpectPage(step.first, 12, step.backward);
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

// With the option, every page has the axis of all cycles: the second page's 42-day bar is 162
// pixels (26..44, 9 pixels a day) instead of the 100 of its own 40..44, a line every two days.
TEST(CycleCharts, MinMaxOptionKeepsOneAxisForEveryPage) {
  std::vector<int32_t> lengths;
  for (size_t i = 0; i < 24; ++i) lengths.push_back(Cycled(i) + (i < 12 ? 0 : 14));
  Scenario s("cycle chart min max");
  s.Before([&lengths] {
    StoreCycles(CyclesOf(lengths));
    SetShowMinMax(true);
  });
  s.Menu(kCmdCycleCharts).Tap(117, 17).Check([] {
    ExpectBar(40, 162);
    EXPECT_EQ(Scenario::PixelAt(100, 220), 200);
    EXPECT_EQ(Scenario::PixelAt(100, 238), 200);
  });
  s.RunCleanly();
}

// --- Temperature Charts ---

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
    s.Before([&c] { StoreReadings(c.scale, AMonth()); });
    s.Menu(kCmdTempCharts)
        .Check([] { ExpectView(kTempChartsView); })
        .Tap(33 + 8 * 20, 100)
        .Screenshot(ShotPath(c.shot));
    s.RunCleanly();
  }
}

// The window's paging and its stop in 1582 are the window's own tests; here the arrows move the
// dots drawn and the dates shown.
TEST(TempCharts, PagesByTwentyFiveDays) {
  const DayNumber last = Day(2026, 11, 30);
  Scenario s("temp chart pages");
  s.Before([last] { StoreReadings(1, {{last - 25, 36.5}, {last - 3, 36.8}, {last, 36.6}}); });
  auto expect_window = [](DayNumber end) {
    EXPECT_EQ(TempCharts()->FirstDay(), end - 24);
    EXPECT_EQ(Text(TempCharts()->Dialog(), kCtlChartFirstDate), FormatDate(end - 24));
    EXPECT_EQ(Text(TempCharts()->Dialog(), kCtlChartLastDate), FormatDate(end));
  };
  s.Menu(kCmdTempCharts)
      .Check([=] {
        expect_window(last);
        EXPECT_GT(DotsIn(21), 0);
      })
      .Tap(102, 17)
      .Check([=] {
        expect_window(last - 25);
        EXPECT_EQ(Scenario::PixelAt(ReadingX(24), 38), 6000);  // alone: on the top line
        EXPECT_EQ(DotsIn(21), 0);
      })
      .Tap(117, 17)
      .Tap(117, 17)
      .Check([=] {
        // Past the latest reading: an empty window with the fixed labels.
        expect_window(last + 25);
        for (int32_t column = 0; column < 25; ++column) EXPECT_EQ(DotsIn(column), 0);
        EXPECT_GT(InkIn(2, 32, 30, 46), 0);
      });
  s.RunCleanly();

  // Back in 1582 the arrows stop where dates begin: the first page starts on 1 January 1582.
  Scenario early("temp chart first page");
  early.Before([] { StoreReadings(1, {{Day(1582, 2, 1), 36.5}}); });
  early.Menu(kCmdTempCharts).Tap(102, 17).Tap(102, 17).Check([=] {
    expect_window(Day(1582, 1, 25));
  });
  early.RunCleanly();
}

// Which column a tap falls in is the layout's table, and a tap's detail over a reading is the
// committed picture's; here a tap on a window without readings shows the date alone.
TEST(TempCharts, ATapOnAnEmptyWindowShowsTheDateAlone) {
  Scenario s("temp chart detail");
  s.Before([] { StoreReadings(1, {{Day(2026, 11, 30), 36.6}}); });
  s.Menu(kCmdTempCharts)
      .Tap(117, 17)
      .Check([] { EXPECT_GT(InkIn(110, 240, 240, 268), 0); })  // the hint
      .Tap(229, 150)
      .Check([] {
        EXPECT_EQ(InkIn(110, 240, 176, 268), 0);  // the hint is gone
        EXPECT_GT(InkIn(178, 254, 240, 268), 0);  // the date
        EXPECT_EQ(InkIn(178, 240, 240, 253), 0);  // no reading
      });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
