// The rules of Add New Cycle and Edit Cycle: the period verdict of OK at its boundaries and the
// predicted end at the ends of the field's range.
#include "cycles/cycle_forms.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(CycleForms, PeriodVerdicts) {
  const auto ok = PeriodVerdict::kAccepted, wrong = PeriodVerdict::kIncorrect,
             zero = PeriodVerdict::kZero;
  // Period, cycle length, verdict. Outside 14..40 any period but 0 goes; beyond what three
  // digits hold, still a plain verdict, no overflow.
  const uint32_t huge = 4000000000u;
  const std::tuple<uint32_t, uint32_t, PeriodVerdict> cases[] = {
      {15, 30, wrong}, {14, 30, ok},      {14, 29, wrong}, {13, 29, ok},    {14, 28, wrong},
      {6, 14, ok},     {7, 14, wrong},    {19, 40, ok},    {20, 40, wrong}, {99, 10, ok},
      {99, 45, ok},    {999, 13, ok},     {5, 0, ok},      {0, 28, zero},   {0, 10, zero},
      {0, 0, zero},    {huge, 28, wrong}, {5, huge, ok},
  };
  for (const auto& [period, length, verdict] : cases) {
    EXPECT_EQ(CheckPeriodLength(period, length), verdict) << period << "/" << length;
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
