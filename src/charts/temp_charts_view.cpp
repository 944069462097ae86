#include "charts/temp_charts_view.h"

#include <algorithm>
#include <string>

#include "charts/chart_look.h"
#include "frame/frame_fonts.h"
#include "gfx/graphic_buffer.h"
#include "gfx/primitives.h"
#include "store/settings.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kColouredControls[] = {kCtlChartFirstDate, kCtlChartLastDate};
constexpr ce::COLORREF kCyan = ce::RGB(0, 255, 255);

void Write(ce::HDC dc, int32_t x, int32_t y, const std::u16string& text) {
  WriteChartText(dc, x, y, text.c_str(), text.size());
}

ce::HDC ChartDC(ce::HWND dialog) {
  ce::HDC dc = ce::GetDC(dialog);
  ce::SetBkMode(dc, ce::TRANSPARENT);
  ce::SetTextColor(dc, ce::RGB(0, 0, 0));
  return dc;
}

}  // namespace

// The chart is drawn by the dialog's paint, so a repaint shows it whole again.
CTempChartsView::CTempChartsView()
    : CListView_(false, {.template_id = kDlgTempCharts,
                         .cyan = kColouredControls,
                         .hidden_shell = ce::SHFS_HIDESIPBUTTON}) {}

void CTempChartsView::OnLoad() {
  background_.Load(kImgBackground);
  LoadChartArrows(arrow_back_, arrow_forward_);
}

void CTempChartsView::OnActivate() {
  Settings settings;
  ReadSettings(&settings);
  celsius_ = settings.scale == 1;
  DayNumber latest = 0;
  has_readings_ = LatestReadingDay(&latest);
  if (has_readings_) SetWindowEndingAt(TempWindowEnd(latest, 0));
  shown_.clear();
  CListView_::OnActivate();
}

void CTempChartsView::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT&) {
  DrawChart(dialog);
}

ce::INT_PTR CTempChartsView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                             ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_LBUTTONDOWN: {
      const auto x = static_cast<int32_t>(LOWORD(static_cast<uintptr_t>(lparam)));
      const auto y = static_cast<int32_t>(HIWORD(static_cast<uintptr_t>(lparam)));
      const ChartArrow arrow = ChartArrowAt(x, y);
      if (!has_readings_) return TRUE;
      if (arrow != ChartArrow::kNone) {
        Turn(dialog, arrow == ChartArrow::kForward);
      } else if (x >= 30 && x <= 229 && y >= 38 && y <= 238) {
        ShowDayDetail(dialog, x);
      }
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        CDocument_::SetPreviousView(kCycleView);
        CDocument_::GoBack();
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

bool CTempChartsView::OnKey(ce::HWND dialog, ce::UINT key) {
  if (key != ce::VK_LEFT && key != ce::VK_RIGHT) return false;
  if (has_readings_) Turn(dialog, key == ce::VK_RIGHT);
  return true;
}

void CTempChartsView::Turn(ce::HWND dialog, bool forward) {
  SetWindowEndingAt(TempWindowEnd(last_day_, forward ? 1 : -1));
  DrawChart(dialog);
}

void CTempChartsView::DrawChart(ce::HWND dialog) {
  DrawChartFrame(dialog);
  if (!has_readings_) return;
  DrawChartLabels(dialog);
  DrawChartData(dialog);
}

void CTempChartsView::DrawChartFrame(ce::HWND dialog) {
  DrawChartBox(background_, arrow_back_, arrow_forward_, true);
  CDocument_::GetScreenBuffers()->PresentTo(dialog);
}

void CTempChartsView::DrawChartLabels(ce::HWND dialog) {
  ce::SetDlgItemText(dialog, kCtlChartFirstDate, FormatDate(FirstDay()).c_str());
  ce::SetDlgItemText(dialog, kCtlChartLastDate, FormatDate(last_day_).c_str());
  ce::HDC dc = ChartDC(dialog);
  Write(dc, 30, 242, celsius_ ? kTextCelsiusUnit : kTextFahrenheitUnit);
  Write(dc, 110, 240, kTextChartHint[0]);
  Write(dc, 110, 254, kTextChartHint[1]);
  ce::ReleaseDC(dialog, dc);
}

void CTempChartsView::DrawChartData(ce::HWND dialog) {
  shown_ = ReadReadings(FirstDay(), last_day_);
  const bool any = !shown_.empty();
  double min = 0.0, max = 0.0;
  if (any) {
    const auto [lowest, highest] = std::minmax_element(
        shown_.begin(), shown_.end(),
        [](const ChartReading& a, const ChartReading& b) { return a.celsius < b.celsius; });
    min = lowest->celsius;
    max = highest->celsius;
  }
  const AxisTicks ticks = DrawAxisLabels(any, min, max);
  // A drawing without readings sets no tick; the others keep theirs.
  if (any) ticks_ = ticks;
  for (ChartReading& reading : shown_) {
    reading.x = ReadingX(static_cast<int32_t>(reading.day - FirstDay()));
    reading.y = ReadingY(ticks_, reading.celsius);
  }
  RebuildTempDatabase(shown_);

  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  GraphicBuffer& screen = *buffers->GetScreenBuffer();
  for (size_t i = 0; i < shown_.size(); ++i) {
    if (i + 1 < shown_.size()) {
      DrawLine(screen, shown_[i].x, shown_[i].y, shown_[i + 1].x, shown_[i + 1].y,
               kChartLineColour);
    }
    FillCircle(screen, {shown_[i].x, shown_[i].y}, 2, kChartDotColour);
  }
  buffers->PresentPart(dialog, 30, 38, 30, 38, 230, 238);

  ce::HDC dc = ChartDC(dialog);
  if (!celsius_) {
    if (any) {
      ce::RECT column{0, 0, 30, 268};
      ce::FillSolidRect(dc, column, kCyan);
    }
    ce::SelectObject(dc, SmallThinFont());
  }
  for (const AxisLabel& label : ticks.labels) {
    Write(dc, 2, 32 + 50 * label.k, AxisLabelText(label, celsius_));
  }
  ce::ReleaseDC(dialog, dc);
}

void CTempChartsView::ShowDayDetail(ce::HWND dialog, int32_t x) {
  const DayNumber day = FirstDay() + static_cast<DayNumber>(TappedColumn(x));
  ce::HDC dc = ChartDC(dialog);
  ce::RECT area{110, 240, 240, 268};
  ce::FillSolidRect(dc, area, kCyan);
  Write(dc, 178, 254, FormatDate(day));
  const auto reading = std::find_if(shown_.begin(), shown_.end(),
                                    [day](const ChartReading& r) { return r.day == day; });
  if (reading != shown_.end()) Write(dc, 178, 240, DetailValueText(reading->celsius, celsius_));
  ce::ReleaseDC(dialog, dc);
}
