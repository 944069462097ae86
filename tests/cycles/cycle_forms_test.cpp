// The rules of Add New Cycle and Edit Cycle: the period verdict of OK at its boundaries and the
// predicted end at the ends of the field's range.
#include "cycles/cycle_forms.h"

#include <gtest/gtest.h>

namespace {

TEST(CycleForms, PeriodVerdicts) {
  struct Case {
    uint32_t period, length;
    PeriodVerdict verdict;
  };
  for (const Case& c : {
           Case{15, 30, PeriodVerdict::kIncorrect},
           Case{14, 30, PeriodVerdict::kAccepted},
           Case{14, 29, PeriodVerdict::kIncorrect},
           Case{13, 29, PeriodVerdict::kAccepted},
           Case{14, 28, PeriodVerdict::kIncorrect},
           Case{6, 14, PeriodVerdict::kAccepted},
           Case{7, 14, PeriodVerdict::kIncorrect},
           Case{19, 40, PeriodVerdict::kAccepted},
           Case{20, 40, PeriodVerdict::kIncorrect},
           // Outside 14..40 any period but 0 goes.
           Case{99, 10, PeriodVerdict::kAccepted},
           Case{99, 45, PeriodVerdict::kAccepted},
           Case{999, 13, PeriodVerdict::kAccepted},
           Case{5, 0, PeriodVerdict::kAccepted},
           Case{0, 28, PeriodVerdict::kZero},
           Case{0, 10, PeriodVerdict::kZero},
           Case{0, 0, PeriodVerdict::kZero},
           // Beyond what three digits hold: still a plain verdict, no overflow.
           Case{4000000000u, 28, PeriodVerdict::kIncorrect},
           Case{5, 4000000000u, PeriodVerdict::kAccepted},
       }) {
    EXPECT_EQ(CheckPeriodLength(c.period, c.length), c.verdict) << c.period << "/" << c.length;
  }
}

TEST(CycleForms, PredictedEnd) {
  DayNumber start = 0;
  ASSERT_TRUE(DateToDayNumber(2003, 1, 20, start));
  // 28 days, 300 and an emptied field are the Add New Cycle scenarios'; here the ends.
  EXPECT_EQ(PredictedEndText(start, u"1/20/03", false, 1), u"1/20/03");
  EXPECT_EQ(PredictedEndText(start, u"1/20/03", false, 999), FormatDate(start + 998));
}

}  // namespace
