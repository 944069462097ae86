#include "cycles/cycle_view.h"

#include "cycles/shown_cycle.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
#include "gfx/primitives.h"
#include "ui/ids.h"

namespace {

// Copies the first rows of `source` into `piece`, made width x height; rows the source lacks,
// and the piece's last row, stay black.
void CutBar(const CFastBitmap& source, CFastBitmap& piece, int32_t height) {
  const uint16_t width = source.Width();
  piece.Allocate(width, static_cast<uint16_t>(height));
  const GfxRect rows{0, 0, width, height - 1};
  GraphicBuffer::Blit(source.Pixels(), piece.Pixels(), rows, rows);
}

}  // namespace

CCycleView* CCycleView::Find() {
  auto* view = dynamic_cast<CCycleView*>(CDocument_::FindView(kCycleView));
  if (view == nullptr) ce::ReportFatalError(u"CCycleView::Find");
  return view;
}

CCycleView::CCycleView()
    : CListView_(true, {.template_id = kDlgCycleView, .hidden_shell = ce::SHFS_HIDESIPBUTTON}) {}

void CCycleView::OnLoad() {
  background_.Load(kImgBackground);
  empty_background_.Load(kImgEmptyCycleView);
  arrow_older_.Load(kImgArrowUp);
  arrow_newer_.Load(kImgArrowDown);
  time_line_bar_.Load(kImgTimeLineBar);
  ovulation_bar_source_.Load(kImgOvulationBar);
  period_bar_source_.Load(kImgPeriodBar);
  strip_start_month_.Load(kImgMonthStripStart);
  strip_end_month_.Load(kImgMonthStripEnd);
  warning_sign_.Load(kImgWarningSign);
}

void CCycleView::OnActivate() {
  if (!keep_shown_cycle_) shown_cycle_index_ = 0;
  CListView_::OnActivate();
}

ce::INT_PTR CCycleView::OnInitDialog(ce::HWND dialog) {
  ce::ShowWindow(ce::GetDlgItem(dialog, kCtlCycleEdit), ce::SW_HIDE);
  return ce::TRUE;
}

ce::INT_PTR CCycleView::OnControlColour(ce::WPARAM dc, ce::LPARAM) {
  return ControlColours(dc);
}

ce::INT_PTR CCycleView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM wparam,
                                        ce::LPARAM lparam) {
  using namespace ce;
  switch (message) {
    case WM_LBUTTONDOWN: {
      const CycleArrow arrow =
          ArrowAt(LOWORD(static_cast<uintptr_t>(lparam)), HIWORD(static_cast<uintptr_t>(lparam)));
      if (arrow != CycleArrow::kNone) Step(dialog, arrow);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == kCtlCycleAdd) {
        CDocument_::SetView(kAddCycleView);
        return TRUE;
      }
      if (LOWORD(wparam) == kCtlCycleEdit) {
        CDocument_::SetView(kEditCycleView);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

bool CCycleView::OnKey(ce::HWND dialog, ce::UINT key) {
  // Up and Down as the arrows drawn above and below the time line.
  if (key != ce::VK_UP && key != ce::VK_DOWN) return false;
  Step(dialog, key == ce::VK_UP ? CycleArrow::kOlder : CycleArrow::kNewer);
  return true;
}

void CCycleView::OnPaint(ce::HWND dialog, ce::HDC, const ce::RECT&) {
  const ShownCycle shown = ReadShownCycle(shown_cycle_index_);
  shown_cycle_index_ = shown.index;
  if (shown.count == 0) {
    empty_background_.Draw(0, 0);
    CDocument_::GetScreenBuffers()->PresentTo(dialog);
    return;
  }
  ce::ShowWindow(ce::GetDlgItem(dialog, kCtlCycleEdit), ce::SW_SHOW);
  if (shown.read) DrawCycle(dialog, shown.cycle);
}

void CCycleView::Step(ce::HWND dialog, CycleArrow arrow) {
  // The count and the clamp come from the store as it is now.
  const ShownCycle now = ReadShownCycle(shown_cycle_index_);
  shown_cycle_index_ = StepShownCycle(now.index, now.count, arrow);
  if (shown_cycle_index_ == now.index) return;
  const ShownCycle shown = ReadShownCycle(shown_cycle_index_);
  if (shown.read) DrawCycle(dialog, shown.cycle);
}

void CCycleView::DrawCycle(ce::HWND dialog, const CycleRecord& cycle) {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  GraphicBuffer& screen = *buffers->GetScreenBuffer();
  SetDrawTarget(&screen);
  background_.Draw(0, 0);
  arrow_older_.Draw(5, 0);
  arrow_newer_.Draw(5, 254);
  strip_end_month_.Draw(5, 14);

  const CycleDrawing plan = PlanCycleDrawing(cycle);
  if (!plan.drawable) {
    warning_sign_.Draw(30, 25);
  } else {
    time_line_bar_.Draw(45, 0);
    if (plan.strip_piece_height > 0) {
      const auto height = static_cast<uint16_t>(plan.strip_piece_height);
      strip_piece_.Allocate(strip_start_month_.Width(), height);
      const GfxRect rows{0, 0, strip_start_month_.Width(), height};
      GraphicBuffer::Blit(strip_start_month_.Pixels(), strip_piece_.Pixels(), rows, rows);
      strip_piece_.Draw(5, 14);
    }
    for (const TimeLineRun& run : plan.runs) {
      DrawHLine(screen, {run.x, run.y}, run.length, kTimeLineColour);
    }
    CutBar(ovulation_bar_source_, ovulation_bar_, plan.ovulation_bar_height);
    ovulation_bar_.Draw(65, static_cast<uint16_t>(plan.ovulation_start_y + 7));
    CutBar(period_bar_source_, period_bar_, plan.period_bar_height);
    period_bar_.Draw(65, 1);
  }
  buffers->PresentTo(dialog);

  // The labels go onto the window over the presented picture, not into the buffer.
  ce::HDC dc = ce::GetDC(dialog);
  ce::SetBkMode(dc, ce::TRANSPARENT);
  ce::SetTextColor(dc, ce::RGB(0, 0, 0));
  for (const TimeLineText& text : plan.texts) {
    ce::SelectObject(dc, text.vertical ? VerticalFont() : SmallBoldFont());
    ce::ExtTextOut(dc, text.x, text.y, 0, nullptr, text.text.c_str(),
                   static_cast<ce::UINT>(text.text.size()), nullptr);
  }
  ce::ReleaseDC(dialog, dc);
}
