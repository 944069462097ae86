// Cycle Charts and Temperature Charts as a user meets them: the bars of each page and the
// paging, the min/max option, the temperature window's paging, a tap's day detail, both scales.

#include "charts/temp_charts_view.h"
#include "gfx/fast_bitmap.h"
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

// --- Cycle Charts ---

TEST(CycleCharts, Screenshot) {
  Scenario s("cycle charts shot");
  s.Before([] { StoreCycles(CyclesOf({28, 30, 27, 29, 31, 26, 28, 33, 29, 27, 30, 28, 29})); });
  s.Menu(kCmdCycleCharts)
      .Check([] { ExpectView(kCycleChartsView); })
      .Screenshot(ShotPath("cycle-charts.png"));
  s.RunCleanly();
}

// The paging table and the bars' places are the pages' own tests, and the committed picture
// shows the bars drawn; here the arrows move the page, forward and backward, as its years show.
// With the min/max option every page has the axis of all cycles: the second page's 42-day bar is
// 162 pixels (26..44, 9 pixels a day) instead of the 100 of its own 40..44, a line every two
// days. Add opens Add New Cycle.
TEST(CycleCharts, PagesTwelveCyclesAtATimeOnOneAxisWithTheMinMaxOption) {
  std::vector<int32_t> lengths;
  for (int32_t i = 0; i < 24; ++i) lengths.push_back(26 + i % 5 + (i < 12 ? 0 : 14));
  Scenario s("cycle chart pages");
  s.Before([&lengths] {
    StoreCycles(CyclesOf(lengths));
    Settings settings = LogoOff();
    settings.show_min_max = true;
    ASSERT_TRUE(WriteSettings(settings));
  });
  s.Menu(kCmdCycleCharts);
  // From 1 March 2001: cycles 0..11 start in 2001 and 2002 (the last on 1 January), 12..23 in
  // 2002 and 2003. Right and Left are the arrows.
  const struct {
    int32_t arrow_x;  // 0: the key instead
    ce::UINT key;
    const char16_t* years;
  } steps[] = {
      {0, 0, u"20012002"},   {117, 0, u"20022003"},          {117, 0, u"20022003"},
      {102, 0, u"20012002"}, {0, ce::VK_RIGHT, u"20022003"}, {0, ce::VK_LEFT, u"20012002"}};
  for (const auto& [arrow_x, key, years] : steps) {
    if (arrow_x != 0) s.Tap(arrow_x, 17);
    if (key != 0) s.Key(key);
    s.Check([years] {
      ExpectView(kCycleChartsView);
      EXPECT_EQ(Shown(kCtlChartFirstYear)->text + Shown(kCtlChartLastYear)->text, years);
    });
  }
  s.Tap(117, 17).Check([] {
    CFastBitmap bar;
    ASSERT_TRUE(bar.Load(kImgChartBar));
    for (int32_t c = 0; c < 6; ++c) {
      EXPECT_EQ(Scenario::PixelAt(40 + c, 238 - 162), bar.Pixels()->At(c, 0)) << c;
    }
    EXPECT_EQ(Scenario::PixelAt(100, 220), 200);
  });
  s.TapControl(kCtlChartAdd).Check([] { ExpectView(kAddCycleView); });
  s.RunCleanly();
}

// --- Temperature Charts ---

// Black pixels of the text in a rectangle of the frame.
int32_t InkIn(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  int32_t ink = 0;
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) ink += Scenario::PixelAt(x, y) == 0 ? 1 : 0;
  }
  return ink;
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

// The window's paging and its stop in 1582 are the window's own tests, and a tap's detail over
// a reading is the committed pictures'; here the arrows move the dates shown, and a tap on a
// window without readings shows the date alone.
TEST(TempCharts, PagesByTwentyFiveDaysAndATapOnAnEmptyWindowShowsTheDateAlone) {
  const DayNumber last = Day(2026, 11, 30);
  auto expect_window = [](DayNumber end) {
    EXPECT_EQ(static_cast<CTempChartsView*>(CDocument_::FindView(kTempChartsView))->FirstDay(),
              end - 24);
    EXPECT_EQ(Shown(kCtlChartFirstDate)->text, FormatDate(end - 24));
    EXPECT_EQ(Shown(kCtlChartLastDate)->text, FormatDate(end));
  };
  for (const uint16_t scale : {1, 2}) {
    Scenario s("temp charts");
    s.Before([scale] { StoreReadings(scale, AMonth()); });
    s.Menu(kCmdTempCharts)
        .Check([=] { expect_window(last); })
        .Tap(33 + 8 * 20, 100)
        .Screenshot(ShotPath(scale == 1 ? "temp-charts.png" : "temp-charts-f.png"))
        .Key(ce::VK_LEFT)
        .Check([=] { expect_window(last - 25); })
        .Key(ce::VK_RIGHT)
        .Check([=] { expect_window(last); });
    if (scale == 1) {
      s.Tap(102, 17)
          .Check([=] { expect_window(last - 25); })
          .Tap(117, 17)
          .Tap(117, 17)
          .Check([=] {
            // Past the latest reading: an empty window with the fixed labels and the hint.
            expect_window(last + 25);
            EXPECT_GT(InkIn(2, 32, 30, 46), 0);
            EXPECT_GT(InkIn(110, 240, 240, 268), 0);
          })
          .Tap(229, 150)
          .Check([] {
            EXPECT_EQ(InkIn(110, 240, 176, 268), 0);  // the hint is gone
            EXPECT_GT(InkIn(178, 254, 240, 268), 0);  // the date
            EXPECT_EQ(InkIn(178, 240, 240, 253), 0);  // no reading
          });
    }
    s.RunCleanly();
  }

  // Back in 1582 the arrows stop where dates begin: the first page starts on 1 January 1582.
  Scenario early("temp chart first page");
  early.Before([] { StoreReadings(1, {{Day(1582, 2, 1), 36.5}}); });
  early.Menu(kCmdTempCharts).Tap(102, 17).Tap(102, 17).Check([=] {
    expect_window(Day(1582, 1, 25));
  });
  early.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
