// The Cycle View as a user meets it: the empty screen at start-up, the time line of cycles of
// each length as the frame buffer shows it, the month strip, the arrows at both ends, and a
// shown cycle that the store no longer has.
#include <gtest/gtest.h>

#include <vector>

#include "cycles/cycle_records.h"
#include "cycles/cycle_view.h"
#include "frame/document.h"
#include "gfx/fast_bitmap.h"
#include "platform/dialog.h"
#include "scenarios/cycle_steps.h"
#include "scenarios/scenario.h"
#include "store/ce_database.h"
#include "ui/ids.h"

namespace calvira::testing {
namespace {

CCycleView& View() {
  CCycleView* view = CCycleView::Find();
  EXPECT_NE(view, nullptr);
  return *view;
}

bool EditShown() {
  return ce::IsWindowVisible(ce::GetDlgItem(View().Dialog(), kCtlCycleEdit)) != ce::FALSE;
}

bool LineAt(int32_t x, int32_t y) {
  return Scenario::PixelAt(x, y) == kTimeLineColour;
}

// A picture's pixel, to compare with what the screen shows.
uint16_t ImagePixel(uint32_t image, int32_t x, int32_t y) {
  CFastBitmap bitmap;
  bitmap.Load(image);
  return bitmap.Pixels()->At(x, y);
}

// Pure black pixels of the labels written in the rectangle.
int Ink(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  int ink = 0;
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) ink += Scenario::PixelAt(x, y) == 0x0000;
  }
  return ink;
}

TEST(CycleViewScreen, StartUpWithoutCyclesShowsTheEmptyPictureAndNoEditButton) {
  Scenario s("empty cycle view");
  auto expect_empty_picture = [] {
    EXPECT_EQ(CDocument_::GetCurrentView(), kCycleView);
    EXPECT_FALSE(EditShown());
    CFastBitmap empty;
    empty.Load(kImgEmptyCycleView);
    int differing = 0;
    for (int32_t y = 0; y < 268; ++y) {
      for (int32_t x = 0; x < 180; ++x) {  // left of the Add button
        differing += Scenario::PixelAt(x, y) != empty.Pixels()->At(x, y);
      }
    }
    EXPECT_EQ(differing, 0);
  };
  s.Check(expect_empty_picture).Tap(12, 7).Tap(12, 260).Check(expect_empty_picture);
  s.RunCleanly();
}

TEST(CycleViewScreen, TheTimeLineOfEachValidLengthInTheFrame) {
  struct Case {
    int32_t length;
    int32_t day_height;
    int32_t ovulation_opens, ovulation_closes;  // rows of the two ovulation lines
    int32_t last_row;                           // the bottom of the last day
  };
  for (const Case& c :
       {Case{28, 9, 117, 177, 267}, Case{14, 19, 114, 228, 267}, Case{40, 6, 121, 163, 268}}) {
    SCOPED_TRACE(c.length);
    Scenario s("time line");
    // Within one month, so that the strip has no split.
    s.Before([&] { StoreCycles({{Day(2003, 3, 1), 5, c.length}}); });
    s.Check([&] {
      EXPECT_TRUE(EditShown());
      // A tick at the top of each of the first days, nothing between them.
      for (int32_t k = 0; k < 5; ++k) EXPECT_TRUE(LineAt(50, k * c.day_height)) << k;
      EXPECT_FALSE(LineAt(50, c.day_height / 2));
      if (c.last_row < 268) {
        EXPECT_TRUE(LineAt(50, c.last_row));
      }
      EXPECT_TRUE(LineAt(75, 0));    // the 35-pixel lines at the top and the bottom
      EXPECT_TRUE(LineAt(79, 267));  // (79: the last pixel of 35 from 45)
      // The ovulation lines are 30 pixels long, the day ticks 20.
      EXPECT_TRUE(LineAt(73, c.ovulation_opens));
      EXPECT_TRUE(LineAt(73, c.ovulation_closes));
      EXPECT_FALSE(LineAt(73, c.ovulation_opens + c.day_height));
      // The period of 5 days ends with a 30-pixel line under day 4.
      EXPECT_TRUE(LineAt(73, 5 * c.day_height));
      // The bars: the period from the top, the ovulation between its lines.
      EXPECT_EQ(Scenario::PixelAt(68, 3), ImagePixel(kImgPeriodBar, 3, 2));
      EXPECT_EQ(Scenario::PixelAt(68, c.ovulation_opens + 3), ImagePixel(kImgOvulationBar, 3, 2));
      // Within March, only the end month's colour on the strip (40 days reach April).
      if (c.length <= 31) {
        EXPECT_EQ(Scenario::PixelAt(10, 60), ImagePixel(kImgMonthStripEnd, 5, 46));
      }
      // The labels are written: "Start" and the date at the top, "Length" near the bottom.
      EXPECT_GT(Ink(80, 0, 180, 13), 20);
      EXPECT_GT(Ink(196, 235, 240, 248), 10);
      // No notice.
      EXPECT_EQ(Ink(60, 80, 200, 92), 0);
    });
    s.RunCleanly();
  }
}

TEST(CycleViewScreen, LengthsOutside14To40ShowTheNoticeInsteadOfTheTimeLine) {
  for (int32_t length : {13, 41}) {
    SCOPED_TRACE(length);
    Scenario s("invalid length");
    s.Before([&] { StoreCycles({{Day(2003, 3, 1), 5, length}}); });
    s.Check([] {
      EXPECT_TRUE(EditShown());
      // No tick anywhere on the time line's place (the sign above has a dark outline).
      for (int32_t y = 0; y < 268; ++y) {
        EXPECT_FALSE(LineAt(70, y)) << y;
        if (y > 61) {
          EXPECT_FALSE(LineAt(50, y)) << y;
        }
      }
      EXPECT_EQ(Scenario::PixelAt(30 + 18, 25 + 30), ImagePixel(kImgWarningSign, 18, 30));
      // The seven lines of the notice and the length under them.
      for (int32_t y = 80; y <= 164; y += 14) EXPECT_GT(Ink(60, y, 230, y + 13), 20) << y;
      EXPECT_GT(Ink(60, 220, 230, 233), 20);
      // "Start" and "End" with their dates still at the top and the bottom.
      EXPECT_GT(Ink(80, 0, 180, 13), 20);
      EXPECT_GT(Ink(80, 252, 180, 265), 20);
    });
    s.RunCleanly();
  }
}

TEST(CycleViewScreen, TheMonthStripSplitsWhereTheStartMonthEnds) {
  struct Case {
    uint16_t year, month, day;
    int32_t split_row;  // -1: one month only
  };
  for (const Case& c : {
           Case{2003, 1, 20, 108},  // 12 days of January: 12 x 9
           Case{2004, 2, 15, 137},  // a leap February: 15 days left (13 x 9 + 2 x 10)
           Case{2003, 2, 15, 127},  // a common one: 14
           Case{2003, 7, 1, -1},    // 1 to 28 July
       }) {
    SCOPED_TRACE(c.day + 100 * c.month);
    Scenario s("month split");
    s.Before([&] { StoreCycles({{Day(c.year, c.month, c.day), 5, 28}}); });
    s.Check([&] {
      if (c.split_row < 0) {
        for (int32_t y = 14; y < 254; ++y) {
          EXPECT_EQ(Scenario::PixelAt(10, y), ImagePixel(kImgMonthStripEnd, 5, y - 14)) << y;
        }
        return;
      }
      EXPECT_TRUE(LineAt(10, c.split_row));
      EXPECT_TRUE(LineAt(44, c.split_row));
      EXPECT_EQ(Scenario::PixelAt(10, c.split_row - 1),
                ImagePixel(kImgMonthStripStart, 5, c.split_row - 15));
      EXPECT_EQ(Scenario::PixelAt(10, c.split_row + 1),
                ImagePixel(kImgMonthStripEnd, 5, c.split_row - 13));
    });
    s.RunCleanly();
  }
}

TEST(CycleViewScreen, APeriodAsLongAsItsCycleIsDrawnWithoutReports) {
  // A lone cycle entered with a long presumed length keeps its period when a later cycle gives
  // it a short real length: here the period bar would reach one row past the screen.
  Scenario s("long period");
  s.Before([] { StoreCycles({{Day(2003, 3, 1), 15, 15}}); });
  s.Check([] {
    EXPECT_TRUE(EditShown());
    EXPECT_EQ(Scenario::PixelAt(68, 3), ImagePixel(kImgPeriodBar, 3, 2));
    EXPECT_TRUE(LineAt(73, 214));  // the rest of the time line is there: the ovulation's end
  });
  s.RunCleanly();
}

// Three cycles whose first day ticks tell them apart: 32 days (8 pixels), 26 (10), 29 (9).
void StoreThreeCycles() {
  const DayNumber first = Day(2003, 1, 1);
  StoreCycles({{first, 5, 32}, {first + 32, 5, 26}, {first + 58, 5, 29}});
}

void ExpectShown(int32_t index, int32_t day_height) {
  EXPECT_EQ(View().ShownCycleIndex(), index);
  EXPECT_TRUE(LineAt(50, day_height)) << "index " << index;
  for (int32_t other : {8, 9, 10}) {
    if (other != day_height) {
      EXPECT_FALSE(LineAt(50, other)) << "index " << index;
    }
  }
}

TEST(CycleViewScreen, TheArrowsStepThroughTheCyclesAndStopAtBothEnds) {
  Scenario s("arrows");
  s.Before(StoreThreeCycles);
  s.Check([] { ExpectShown(0, 9); })
      .Tap(12, 260)  // newer: already the newest
      .Check([] { ExpectShown(0, 9); })
      .Tap(12, 7)
      .Check([] { ExpectShown(1, 10); })
      .Tap(12, 7)
      .Check([] { ExpectShown(2, 8); })
      .Tap(12, 7)  // older: already the oldest
      .Check([] { ExpectShown(2, 8); })
      .Tap(12, 30)  // the strip between the arrows does nothing
      .Check([] { ExpectShown(2, 8); })
      .Tap(12, 260)
      .Check([] { ExpectShown(1, 10); })
      .Tap(12, 260)
      .Check([] { ExpectShown(0, 9); });
  // Leaving and coming back shows the newest again.
  s.Tap(12, 7).Menu(kCmdCycleView).Check([] { ExpectShown(0, 9); });
  s.RunCleanly();
}

TEST(CycleViewScreen, AKeptCycleThatWasDeletedGivesWayToTheOldestLeft) {
  Scenario s("kept cycle deleted");
  s.Before(StoreThreeCycles);
  // Edit Cycle's OK keeps the oldest cycle shown; then the two oldest cycles go.
  s.Tap(12, 7).Tap(12, 7);
  s.TapControl(kCtlCycleEdit);
  s.TapControl(ce::IDOK).Check([] {
    ExpectShown(2, 8);
    EXPECT_TRUE(View().KeepShownCycle());
    CCeDatabase db;
    ASSERT_TRUE(db.Open(u"Cycles", 0));
    ASSERT_TRUE(db.DeleteCurr());
    ASSERT_TRUE(db.SeekFirst());
    ASSERT_TRUE(db.DeleteCurr());
    db.Close();
  });
  s.Menu(kCmdCycleView).Check([] {
    EXPECT_EQ(ReadCycles().size(), 1u);
    ExpectShown(0, 9);
    EXPECT_TRUE(EditShown());
  });
  // A single cycle stays on both arrows.
  s.Tap(12, 7).Check([] { ExpectShown(0, 9); }).Tap(12, 260).Check([] { ExpectShown(0, 9); });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
