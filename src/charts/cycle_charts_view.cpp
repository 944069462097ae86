#include "charts/cycle_charts_view.h"

#include <algorithm>
#include <string>

#include "charts/chart_look.h"
#include "cycles/day_number.h"
#include "cycles/time_line.h"
#include "frame/frame_fonts.h"
#include "gfx/graphic_buffer.h"
#include "gfx/primitives.h"
#include "store/settings.h"
#include "ui/ids.h"
#include "ui/texts.h"

namespace {

constexpr int kColouredControls[] = {kCtlChartAdd, kCtlChartFirstYear, kCtlChartLastYear};

std::u16string Number(int32_t value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

uint16_t YearOf(DayNumber day) {
  uint16_t year = 0, month = 0, d = 0;
  DayNumberToDate(day, year, month, d);
  return year;
}

}  // namespace

// The page is drawn by the dialog's paint, so the frame is always under the bars and a repaint
// shows the whole page again.
CCycleChartsView::CCycleChartsView()
    : CListView_(false, {.template_id = kDlgCycleCharts,
                         .cyan = kColouredControls,
                         .hidden_shell = ce::SHFS_HIDESIPBUTTON}) {}

void CCycleChartsView::OnLoad() {
  background_.Load(kImgBackground);
  LoadChartArrows(arrow_back_, arrow_forward_);
  bar_image_.Load(kImgChartBar);
}

void CCycleChartsView::OnActivate() {
  Settings settings;
  ReadSettings(&settings);
  show_min_max_ = settings.show_min_max;
  page_ = FirstCyclePage(CycleCount());
  laid_out_backward_ = false;
  CListView_::OnActivate();
}

bool CCycleChartsView::OnKey(ce::HWND dialog, ce::UINT key) {
  if (key != ce::VK_LEFT && key != ce::VK_RIGHT) return false;
  Turn(dialog, key == ce::VK_RIGHT);
  return true;
}

void CCycleChartsView::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT&) {
  DrawPage(dialog, ReadCycles());
}

ce::INT_PTR CCycleChartsView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                              ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_LBUTTONDOWN: {
      const ChartArrow arrow = ChartArrowAt(LOWORD(static_cast<uintptr_t>(lparam)),
                                            HIWORD(static_cast<uintptr_t>(lparam)));
      if (arrow != ChartArrow::kNone) Turn(dialog, arrow == ChartArrow::kForward);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == kCtlChartAdd) {
        CDocument_::SetView(kAddCycleView);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void CCycleChartsView::DrawCycleFrame() {
  DrawChartBox(background_, arrow_back_, arrow_forward_, false);
}

void CCycleChartsView::Turn(ce::HWND dialog, bool forward) {
  const std::vector<CycleRecord> cycles = ReadCycles();
  const CyclePage next =
      forward ? CyclePageForward(page_, cycles.size()) : CyclePageBack(page_, cycles.size());
  if (next == page_) return;
  page_ = next;
  laid_out_backward_ = !forward;
  DrawPage(dialog, cycles);
}

void CCycleChartsView::DrawPage(ce::HWND dialog, const std::vector<CycleRecord>& cycles) {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  GraphicBuffer& screen = *buffers->GetScreenBuffer();
  DrawCycleFrame();
  const size_t count = cycles.size();
  if (count < 2) {
    buffers->PresentTo(dialog);
    return;
  }
  // Cycles deleted elsewhere since the page was chosen: start again at the first page.
  if (page_.count == 0 || page_.first + page_.count > count) {
    page_ = FirstCyclePage(count);
    laid_out_backward_ = false;
  }
  auto length_of = [](const CycleRecord& a, const CycleRecord& b) {
    return a.cycleLength < b.cycleLength;
  };
  const auto page_begin = cycles.begin() + static_cast<std::ptrdiff_t>(page_.first);
  const auto page_end = page_begin + static_cast<std::ptrdiff_t>(page_.count);
  const auto [page_min, page_max] = std::minmax_element(page_begin, page_end, length_of);
  const auto [all_min, all_max] = std::minmax_element(cycles.begin(), cycles.end(), length_of);
  const bool overall = UsesOverallRange(show_min_max_, count);
  const int32_t lo = overall ? all_min->cycleLength : page_min->cycleLength;
  const int32_t hi = overall ? all_max->cycleLength : page_max->cycleLength;
  const int32_t low = show_min_max_ ? all_min->cycleLength : page_min->cycleLength;
  const LengthAxis axis = LayOutLengthAxis(lo, hi, count);

  for (const LengthAxisLine& line : axis.lines) {
    DrawHLine(screen, {30, line.y}, 200, kChartLineColour);
  }
  for (size_t i = 0; i < page_.count; ++i) {
    const int32_t h = BarHeight(axis, page_begin[static_cast<std::ptrdiff_t>(i)].cycleLength, low);
    if (h <= 0) continue;
    const int32_t x = BarX(axis, i, page_.count, laid_out_backward_);
    bar_.Allocate(bar_image_.Width(), static_cast<uint16_t>(h));
    const GfxRect rows{0, 0, bar_image_.Width(), h};
    GraphicBuffer::Blit(bar_image_.Pixels(), bar_.Pixels(), rows, rows);
    bar_.Draw(static_cast<uint16_t>(x), static_cast<uint16_t>(238 - h));
  }
  buffers->PresentTo(dialog);

  // The labels go onto the window over the presented picture, not into the buffer.
  ce::HDC dc = ce::GetDC(dialog);
  ce::SetBkMode(dc, ce::TRANSPARENT);
  ce::SetTextColor(dc, ce::RGB(0, 0, 0));
  for (const LengthAxisLine& line : axis.lines) {
    const std::u16string text = Number(line.label);
    WriteChartText(dc, line.label_x, line.y - 8, text.c_str(), text.size());
  }
  ce::SelectObject(dc, VerticalFont());
  for (size_t i = 0; i < page_.count; ++i) {
    uint16_t year = 0, month = 1, day = 0;
    DayNumberToDate(page_begin[static_cast<std::ptrdiff_t>(i)].start, year, month, day);
    const int32_t x = BarX(axis, i, page_.count, laid_out_backward_);
    // The month strip's names, "June" and "July" included.
    const std::u16string name = MonthLabel(month);
    WriteChartText(dc, x - 2, 262, name.c_str(), name.size());
  }
  ce::ReleaseDC(dialog, dc);

  ce::SetDlgItemText(dialog, kCtlChartFirstYear, Number(YearOf(page_begin->start)).c_str());
  ce::SetDlgItemText(dialog, kCtlChartLastYear, Number(YearOf(page_end[-1].start)).c_str());
}
