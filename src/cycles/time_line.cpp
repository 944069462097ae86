#include "cycles/time_line.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "cycles/cycle_math.h"
#include "ui/texts.h"

namespace {

constexpr int32_t kScreenHeight = 268;
constexpr int32_t kLineX = 45;
constexpr int32_t kLabelX = 80;
constexpr int32_t kDateX = 120;
constexpr int32_t kStripTop = 14;
constexpr int32_t kStripBottom = 254;  // where the lower arrow begins
// The period bar hangs from y = 1; a longer one would leave the screen area.
constexpr int32_t kLongestPeriodBar = kScreenHeight - 1;

std::u16string Decimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

uint16_t MonthOf(DayNumber n) {
  uint16_t year = 0, month = 1, day = 1;
  DayNumberToDate(n, year, month, day);
  return month;
}

void AddText(CycleDrawing& d, int32_t x, int32_t y, std::u16string text, bool vertical = false) {
  d.texts.push_back({x, y, std::move(text), vertical});
}

void LayOutTimeLine(const CycleRecord& c, CycleDrawing& d) {
  const int32_t length = c.cycleLength;
  const int32_t p = kScreenHeight / length;
  // The 268 rows do not divide evenly: the last days take one pixel more. Which day starts the
  // taller ones is decided on the floating-point remainder exactly as the time line has always
  // been drawn, so that stored cycles keep their picture to the pixel.
  const double frac = (268.0 / length - p) * length;
  const double limit = length - frac;
  const auto last_short_day = static_cast<int32_t>(std::floor(limit));
  const auto first_tall_day = static_cast<int32_t>(std::floor(limit + 1.0));

  d.day_height = p;
  d.runs.push_back({kLineX, kScreenHeight - 1, 35});
  d.runs.push_back({kLineX, 0, 35});
  d.month_split_day = MonthSplitDay(c.start, length);
  d.period_y = d.ovulation_start_y = d.ovulation_end_y = p;

  int32_t y = 0;
  for (int32_t k = 0; k < length; ++k) {
    d.runs.push_back({kLineX, y, 20});
    if (k <= last_short_day) y += p;
    if (k >= first_tall_day) y += p + 1;
    d.day_bottoms.push_back(y);
    if (k == d.month_split_day) {
      if (y > kStripTop && y < kStripBottom) d.strip_piece_height = y - kStripTop;
      d.runs.push_back({5, y, 40});
    }
    if (k == c.periodLength - 1) d.period_y = y - 6;
    if (k == length / 2 - 2) {
      d.runs.push_back({kLineX, y, 30});
      d.ovulation_start_y = y - 6;
    }
    if (k == length / 2 + 4) {
      d.runs.push_back({kLineX, y, 30});
      d.ovulation_end_y = y - 6;
    }
  }
  d.runs.push_back({kLineX, d.period_y + 6, 30});
  d.ovulation_bar_height = d.ovulation_end_y - d.ovulation_start_y;
  d.period_bar_height = std::min(d.period_y + 6, kLongestPeriodBar);

  const uint16_t start_month = MonthOf(c.start);
  const uint16_t end_month =
      d.month_split_day >= 0 ? MonthOf(CycleEnd(c.start, length)) : start_month;
  AddText(d, 22, 26, MonthLabel(start_month), true);
  AddText(d, 22, 260, MonthLabel(end_month), true);
  AddText(d, 196, 235, kTextLength);
  AddText(d, kLabelX, d.ovulation_start_y, kTextStart);
  AddText(d, kLabelX, d.ovulation_end_y, kTextEnd);
  AddText(d, kLabelX, (d.ovulation_start_y + d.ovulation_end_y) / 2, kTextOvulation);
  AddText(d, kLabelX, d.period_y, kTextEnd);
  AddText(d, kDateX, d.period_y, FormatDate(PeriodEnd(c.start, c.periodLength)));
  AddText(d, kLabelX, d.period_y / 2,
          kTextPeriodBefore + Decimal(c.periodLength) + kTextPeriodAfter);
  AddText(d, kDateX, d.ovulation_start_y, FormatDate(OvulationFirstDay(c.start, length)));
  AddText(d, kDateX, d.ovulation_end_y, FormatDate(OvulationLastDay(c.start, length)));
  AddText(d, 215, 252, Decimal(length));
}

}  // namespace

CycleDrawing PlanCycleDrawing(const CycleRecord& cycle) {
  CycleDrawing d;
  d.drawable = IsValidCycleLength(cycle.cycleLength);
  if (d.drawable) {
    LayOutTimeLine(cycle, d);
  } else {
    int32_t y = 80;
    for (const char16_t* line : kTextInvalidCycleNotice) {
      AddText(d, 60, y, line);
      y += 14;
    }
    AddText(d, 60, 220,
            kTextCycleLengthBefore + Decimal(cycle.cycleLength) + kTextCycleLengthAfter);
  }
  AddText(d, kLabelX, 0, kTextStart);
  AddText(d, kDateX, 0, FormatDate(cycle.start));
  AddText(d, kLabelX, 252, kTextEnd);
  AddText(d, kDateX, 252, FormatDate(CycleEnd(cycle.start, cycle.cycleLength)));
  return d;
}

int32_t MonthSplitDay(DayNumber start, int32_t cycle_length) {
  uint16_t year = 0, month = 0, day = 0;
  if (!DayNumberToDate(start, year, month, day)) return -1;
  if (MonthOf(CycleEnd(start, cycle_length)) == month) return -1;
  return DaysInMonth(year, month) - day;
}

CycleArrow ArrowAt(int32_t x, int32_t y) {
  if (x < 5 || x > 19) return CycleArrow::kNone;
  if (y >= 0 && y <= 14) return CycleArrow::kOlder;
  if (y >= 254 && y <= 268) return CycleArrow::kNewer;
  return CycleArrow::kNone;
}

int32_t ClampShownCycleIndex(int32_t index, uint32_t count) {
  if (count == 0 || index < 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(index, static_cast<int64_t>(count) - 1));
}

uint32_t ShownCyclePosition(int32_t index, uint32_t count) {
  if (count == 0) return 0;
  return count - 1 - static_cast<uint32_t>(ClampShownCycleIndex(index, count));
}

int32_t StepShownCycle(int32_t index, uint32_t count, CycleArrow arrow) {
  if (count < 2) return index;
  const auto oldest = static_cast<int32_t>(count - 1);
  if (arrow == CycleArrow::kOlder && index != oldest) return index + 1;
  if (arrow == CycleArrow::kNewer && index != 0) return index - 1;
  return index;
}
