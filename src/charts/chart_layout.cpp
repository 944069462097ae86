#include "charts/chart_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "temperature/temperature_scale.h"

namespace {

std::u16string Widen(const char* text) {
  std::u16string out;
  for (const char* c = text; *c != '\0'; ++c) out.push_back(static_cast<char16_t>(*c));
  return out;
}

std::u16string OneDecimal(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  return Widen(buffer);
}

}  // namespace

LengthAxis LayOutLengthAxis(int32_t lo, int32_t hi, size_t count) {
  LengthAxis axis;
  const int32_t days = hi - lo + 4;
  axis.scale = kChartSize / days;
  // Past 196 days the whole-number scale is 0: a fractional one keeps lines and bars apart.
  axis.pixels_per_day = axis.scale > 0 ? axis.scale : static_cast<double>(kChartSize) / days;
  axis.pitch = count >= kCyclesPerPage ? 16 : kChartSize / static_cast<int32_t>(count);
  axis.base = std::max(lo - 2, 0);
  auto y_of = [&](int32_t above_base) {
    return kChartBottom - static_cast<int32_t>(std::lround(above_base * axis.pixels_per_day));
  };
  if (days / 2 <= 18) {
    for (int32_t j = 0; j <= days / 2; ++j) {
      axis.lines.push_back({y_of(2 * j), axis.base + 2 * j, 6});
    }
  } else {
    const int32_t step = days / 10;
    for (int32_t j = 0; j < 10; ++j)
      axis.lines.push_back({y_of(j * step), axis.base + j * step, 0});
    axis.lines.push_back({y_of(hi - axis.base), hi, 0});
  }
  return axis;
}

int32_t BarHeight(const LengthAxis& axis, int32_t length, int32_t low) {
  const auto h = std::lround((length + 2 - low) * axis.pixels_per_day);
  return static_cast<int32_t>(std::clamp<long>(h, 0, kChartSize));
}

int32_t BarX(const LengthAxis& axis, size_t index, size_t n, bool backward) {
  if (backward) return 220 - static_cast<int32_t>(n - 1 - index) * axis.pitch;
  return 40 + static_cast<int32_t>(index) * axis.pitch;
}

CyclePage FirstCyclePage(size_t count) {
  return {0, std::min(count, kCyclesPerPage)};
}

CyclePage CyclePageBack(const CyclePage& page, size_t count) {
  if (count <= kCyclesPerPage || page.first == 0) return page;
  if (page.first <= kCyclesPerPage) return {0, kCyclesPerPage};
  return {page.first - kCyclesPerPage, kCyclesPerPage};
}

CyclePage CyclePageForward(const CyclePage& page, size_t count) {
  const size_t last = page.first + page.count - 1;
  if (count <= kCyclesPerPage || last + 1 >= count) return page;
  if (count - 1 - last <= kCyclesPerPage) return {count - kCyclesPerPage, kCyclesPerPage};
  return {last + 1, kCyclesPerPage};
}

bool UsesOverallRange(bool show_min_max, size_t count) {
  return show_min_max || count < kCyclesPerPage;
}

DayNumber TempWindowEnd(DayNumber last, int32_t pages) {
  DayNumber first_date = 0, last_date = 0;
  DateToDayNumber(1582, 1, 1, first_date);
  DateToDayNumber(9366, 12, 31, last_date);
  const int64_t end = int64_t{last} + int64_t{pages} * kDaysShown;
  return static_cast<DayNumber>(
      std::clamp<int64_t>(end, int64_t{first_date} + kDaysShown - 1, int64_t{last_date}));
}

double ToTenth(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  return std::strtod(buffer, nullptr);
}

AxisTicks DrawAxisLabels(bool any, double min, double max) {
  AxisTicks out;
  if (!any) {
    for (int32_t k = 0; k < kTicks; ++k) out.labels.push_back({k, 42.0 - 3.0 * k, true});
    return out;
  }
  const double span = max - min;
  const double m = ToTenth(max);
  const double s = ToTenth(m - ToTenth(min));
  auto set = [&](int32_t k, double v, bool labelled) {
    out.tick[k] = v;
    out.set = k + 1;
    if (labelled) out.labels.push_back({k, v, false});
  };
  // A few labels stepping down from x, then 30.0 unlabelled on the next line.
  auto stepped = [&](int32_t labels, double step) {
    double x = max;
    for (int32_t k = 0; k < labels; ++k) {
      set(k, ToTenth(x), true);
      x = out.tick[k] - step;
    }
    set(labels, 30.0, false);
  };
  if (s == 0.0 || m < 30.4) {
    if (m >= 30.6) {
      const double step = (max - 30.0) * 0.25;
      double x = max;
      for (int32_t k = 0; k < 4; ++k) {
        set(k, ToTenth(x), true);
        x = ToTenth(x - step);
      }
      set(4, 30.0, true);
    } else if (m == 30.5) {
      stepped(3, 0.2);
    } else if (m == 30.4 || m == 30.3 || m == 30.2) {
      stepped(3, 0.1);
    } else if (m == 30.1) {
      stepped(2, 0.1);
    } else {
      // 30.0, and readings below it, which no label goes under.
      set(0, 30.0, true);
    }
    return out;
  }
  const double step = s == 0.5 ? 0.2 : s >= 0.6 ? span * 0.3333333333333333 : 0.1;
  double x = max;
  for (int32_t k = 0; k < kTicks; ++k) {
    if (x <= 30.0) {
      set(k, 30.0, true);
      break;
    }
    set(k, ToTenth(x), true);
    x = ToTenth(x - step);
  }
  return out;
}

std::u16string AxisLabelText(const AxisLabel& label, bool celsius) {
  if (label.whole) {
    const double v = celsius ? label.value : CelsiusToFahrenheit(label.value);
    return Widen(std::to_string(static_cast<int32_t>(v)).c_str());
  }
  return OneDecimal(celsius ? label.value : CelsiusToFahrenheit(label.value));
}

int32_t ReadingY(const AxisTicks& ticks, double t) {
  const double r = ToTenth(t);
  for (int32_t k = 0; k < ticks.set; ++k) {
    if (r == ticks.tick[k]) return kChartTop + 50 * k;
    if (r < ticks.tick[k]) continue;
    if (k == 0) return kChartTop;  // above the top tick: kept on the top line
    const auto n = static_cast<int32_t>(std::lround((ticks.tick[k - 1] - t) * 10));
    const auto w = static_cast<int32_t>(std::lround((ticks.tick[k - 1] - ticks.tick[k]) * 10));
    // Equal ticks would divide by zero; the dot then stays on the upper line.
    const int32_t y = kChartTop + 50 * (k - 1) + (w > 0 ? n * (50 / w) : 0);
    return std::clamp(y, kChartTop, kChartBottom);
  }
  // Below the last tick (or no tick at all): kept on the box's bottom line.
  return kChartBottom;
}

std::u16string DetailValueText(double celsius_value, bool celsius) {
  if (celsius) return OneDecimal(celsius_value) + u" \u00b0C";
  return OneDecimal(CelsiusToFahrenheit(celsius_value)) + u" \u00b0F";
}
