// The Cycle View as a user meets it: the time line of cycles of each length as the frame buffer
// shows it, the arrows at both ends, and a shown cycle that the store no longer has. The empty
// screen is the pictures' (the message box's is taken after a tap on each arrow).

#include "cycles/cycle_view.h"
#include "gfx/fast_bitmap.h"
#include "scenarios/cycle_steps.h"
#include "store/ce_database.h"

namespace calvira::testing {
namespace {

bool LineAt(int32_t x, int32_t y) {
  return Scenario::PixelAt(x, y) == kTimeLineColour;
}

// The time line's rows for each length, the notice's lengths and the month splits are the time
// line's own tables, and the committed pictures show them drawn. Here a lone cycle entered with
// a long presumed length keeps its period when a later cycle gives it a short real length: the
// period bar would reach one row past the screen.
TEST(CycleViewScreen, APeriodAsLongAsItsCycleIsDrawnWithoutReports) {
  Scenario s("long period");
  s.Before([] { StoreCycles({{Day(2003, 3, 1), 15, 15}}); });
  s.Check([] {
    EXPECT_TRUE(Shown(kCtlCycleEdit));
    CFastBitmap bar;
    bar.Load(kImgPeriodBar);
    EXPECT_EQ(Scenario::PixelAt(68, 3), bar.Pixels()->At(3, 2));
    EXPECT_TRUE(LineAt(73, 214));  // the rest of the time line: the ovulation's end
  });
  s.RunCleanly();
}

void ExpectShown(int32_t index, int32_t day_height) {
  EXPECT_EQ(CCycleView::Find()->ShownCycleIndex(), index);
  EXPECT_TRUE(LineAt(50, day_height)) << "index " << index;
  for (int32_t other : {8, 9, 10}) {
    if (other != day_height) {
      EXPECT_FALSE(LineAt(50, other)) << "index " << index;
    }
  }
}

// Which zone is which arrow is the time line's table; here the taps, and Up and Down as the
// arrows above and below, step through the cycles and stop at both ends, and coming back shows the
// newest again. A cycle kept shown by Edit Cycle that is then deleted gives way to the oldest left.
TEST(CycleViewScreen, TheArrowsStopAtBothEndsAndADeletedKeptCycleGivesWayToTheOldestLeft) {
  Scenario s("arrows");
  s.Before([] { StoreCycles(kThreeCycles); });
  const struct {
    int32_t y;  // 0: the key instead
    ce::UINT key;
    int32_t index, day_height;
  } taps[] = {{260, 0, 0, 9},         {7, 0, 1, 10},         {7, 0, 2, 8},
              {7, 0, 2, 8},           {260, 0, 1, 10},       {0, ce::VK_DOWN, 0, 9},
              {0, ce::VK_DOWN, 0, 9}, {0, ce::VK_UP, 1, 10}, {0, ce::VK_UP, 2, 8},
              {0, ce::VK_UP, 2, 8}};
  for (const auto& t : taps) {
    (t.y != 0 ? s.Tap(12, t.y) : s.Key(t.key)).Check([t] { ExpectShown(t.index, t.day_height); });
  }
  s.Menu(kCmdCycleView).Check([] { ExpectShown(0, 9); });
  // Edit Cycle's OK keeps the oldest cycle shown; then the two oldest cycles go.
  s.Tap(12, 7).Tap(12, 7).TapControl(kCtlCycleEdit).TapControl(ce::IDOK).Check([] {
    ExpectShown(2, 8);
    EXPECT_TRUE(CCycleView::Find()->KeepShownCycle());
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
    EXPECT_TRUE(Shown(kCtlCycleEdit));
  });
  // A single cycle stays on both arrows.
  s.Tap(12, 7).Tap(12, 260).Check([] { ExpectShown(0, 9); });
  s.RunCleanly();
}

}  // namespace
}  // namespace calvira::testing
