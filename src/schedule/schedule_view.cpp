#include "schedule/schedule_view.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "diary/diary_view.h"
#include "frame/frame_fonts.h"
#include "frame/screen_look.h"
#include "gfx/graphic_buffer.h"
#include "schedule/pill_records.h"
#include "ui/ids.h"

namespace {

constexpr ce::COLORREF kGridColour = ce::RGB(230, 230, 230);
constexpr ce::COLORREF kCellColour = ce::RGB(198, 198, 198);
constexpr ce::COLORREF kTodayColour = ce::RGB(0, 0, 255);
constexpr ce::COLORREF kKeyDayColour = ce::RGB(255, 128, 0);
constexpr int kIconSize = 16;
enum Icon { kBleeding1 = 0, kBleeding2 = 1, kBleeding3 = 2, kRemark = 3, kPill = 4 };

// The screens that pick a date here and take it back through their OnParams.
bool PicksDates(int32_t screen) {
  switch (screen) {
    case kTempHistoryView:
    case kDayEntryView:
    case kPredictionView:
    case kAddCycleView:
    case kNoteView:
      return true;
    default:
      return false;
  }
}

bool SchedulingDays() {
  return CDocument_::GetPreviousView() == kDayEntryView;
}

}  // namespace

CScheduleView::CScheduleView()
    : CFormView_(false, {.template_id = kDlgSchedule,
                         .hidden_shell = ce::SHFS_HIDESIPBUTTON | ce::SHFS_HIDESTARTICON}) {
  uint16_t year = 2000, month = 1, day = 1;
  DayNumberToDate(TodayDayNumber(), year, month, day);
  start_year_ = year;
  start_month_ = month;
  start_day_ = day;
  year_ = start_year_;
  month_ = start_month_;
  selected_day_ = start_day_;
}

void CScheduleView::OnLoad() {
  background_.Load(kImgCalendar);
  CFastBitmap strip;
  strip.Load(kImgDayIcons);
  for (size_t i = 0; i < icons_.size(); ++i) {
    icons_[i].Allocate(kIconSize, kIconSize);
    const auto left = static_cast<int32_t>(i) * kIconSize;
    GraphicBuffer::Blit(strip.Pixels(), icons_[i].Pixels(), {0, 0, kIconSize, kIconSize},
                        {left, 0, left + kIconSize, kIconSize});
  }
}

void CScheduleView::OnParams(const ViewParams* params) {
  if (params != nullptr) extra_ = params->extra;
}

void CScheduleView::OnActivate() {
  SetFrameInterval(70);
  CFormView_::OnActivate();
}

void CScheduleView::OnLeftRunning() {
  // Left through the menu (a tap has let go of the dialog already).
  if (CDocument_::GetPreviousView() == kNoteView) {
    if (CDiaryView* diary = CDiaryView::Find()) diary->ReleaseKeptDialog();
  }
}

ce::INT_PTR CScheduleView::OnInitDialog(ce::HWND dialog) {
  ce::SendDlgItemMessage(dialog, kCtlMonthTitle, ce::WM_SETFONT,
                         reinterpret_cast<ce::WPARAM>(LargeThinFont()), 0);
  return ce::TRUE;
}

ce::INT_PTR CScheduleView::OnControlColour(ce::WPARAM dc, ce::LPARAM) {
  // The month title is the calendar's only control.
  return TitleColours(dc);
}

ce::INT_PTR CScheduleView::OnScreenMessage(ce::HWND dialog, ce::UINT message, ce::WPARAM,
                                           ce::LPARAM lparam) {
  if (message != ce::WM_LBUTTONDOWN) return ce::FALSE;
  Tap(dialog, ce::GET_X_LPARAM(lparam), ce::GET_Y_LPARAM(lparam));
  return ce::TRUE;
}

void CScheduleView::OnPaint(ce::HWND dialog, ce::HDC dc, const ce::RECT&) {
  background_.Draw(0, 0);
  ce::GetClientRect(dialog, &grid_);
  grid_.top += 70;
  // A full repaint goes back to the month the program started in.
  year_ = start_year_;
  month_ = start_month_;
  selected_day_ = start_day_;
  key_day_ = 0;
  CDocument_::GetScreenBuffers()->PresentTo(dialog);
  DrawMonth(dialog, dc);
  if (SchedulingDays()) DrawDayIcons(dialog);
}

void CScheduleView::DrawMonth(ce::HWND dialog, ce::HDC dc) {
  layout_ = LayOutMonth(year_, month_, grid_);
  ce::SetDlgItemText(dialog, kCtlMonthTitle, MonthTitle(year_, month_).c_str());
  ce::SetBkMode(dc, ce::TRANSPARENT);
  ce::FillSolidRect(dc, grid_, kGridColour);
  const bool start_month = year_ == start_year_ && month_ == start_month_;
  for (int d = 1; d <= layout_.days; ++d) {
    const ce::RECT& cell = layout_.cells[static_cast<size_t>(d - 1)];
    const bool today = start_month && d == selected_day_;
    ce::FillSolidRect(dc, cell, today ? kTodayColour : kCellColour);
    ce::SetTextColor(dc, today ? ce::RGB(255, 255, 255) : ce::RGB(0, 0, 0));
    // "%2d": a blank before the days below 10.
    const std::u16string text{d < 10 ? u' ' : static_cast<char16_t>(u'0' + d / 10),
                              static_cast<char16_t>(u'0' + d % 10)};
    ce::ExtTextOut(dc, cell.left + 2, cell.top, 0, nullptr, text.c_str(),
                   static_cast<ce::UINT>(text.size()), nullptr);
  }
  if (key_day_ >= 1 && key_day_ <= layout_.days) {
    // The keyboard's day: a frame two pixels wide inside its cell, in the title's colour.
    ce::RECT r = layout_.cells[static_cast<size_t>(key_day_ - 1)];
    for (int i = 0; i < 2; ++i, ++r.left, ++r.top, --r.right, --r.bottom) {
      ce::FillSolidRect(dc, {r.left, r.top, r.right, r.top + 1}, kKeyDayColour);
      ce::FillSolidRect(dc, {r.left, r.bottom - 1, r.right, r.bottom}, kKeyDayColour);
      ce::FillSolidRect(dc, {r.left, r.top, r.left + 1, r.bottom}, kKeyDayColour);
      ce::FillSolidRect(dc, {r.right - 1, r.top, r.right, r.bottom}, kKeyDayColour);
    }
  }
}

void CScheduleView::DrawDayIcons(ce::HWND dialog) {
  CScreenBuffers* buffers = CDocument_::GetScreenBuffers();
  auto show = [&](int icon, int32_t x, int32_t y) {
    icons_[static_cast<size_t>(icon)].Draw(0, 0);
    buffers->PresentPart(dialog, x, y, 0, 0, kIconSize, kIconSize);
  };
  for (const PillDay& entry : ReadPillDays()) {
    uint16_t year = 0, month = 0, day = 0;
    if (!DayNumberToDate(entry.day, year, month, day) || year != year_ || month != month_) {
      continue;
    }
    const ce::RECT& cell = layout_.cells[static_cast<size_t>(day - 1)];
    if (entry.level >= 1 && entry.level <= 3) {
      show(kBleeding1 + entry.level - 1, cell.right - kIconSize, cell.top);
    }
    if (entry.pill) show(kPill, cell.right - kIconSize, cell.bottom - kIconSize);
    if (!entry.remark.empty()) show(kRemark, cell.left, cell.bottom - kIconSize);
  }
}

void CScheduleView::Tap(ce::HWND dialog, int32_t x, int32_t y) {
  int day = 0;
  bool moved = false;
  switch (ZoneAt(layout_, x, y, &day)) {
    case CalendarZone::kDay:
      Pick(dialog, day);
      return;
    case CalendarZone::kLeave:
      Leave(dialog);
      return;
    case CalendarZone::kCurrentMonth:
      year_ = start_year_;
      month_ = start_month_;
      moved = true;
      break;
    // Beyond January 1582 and December 9366 no day can be named: those steps do nothing.
    case CalendarZone::kNextYear:
      moved = StepYear(&year_, month_, +1);
      break;
    case CalendarZone::kPreviousYear:
      moved = StepYear(&year_, month_, -1);
      break;
    case CalendarZone::kPreviousMonth:
      moved = StepMonth(&year_, &month_, -1);
      break;
    case CalendarZone::kNextMonth:
      moved = StepMonth(&year_, &month_, +1);
      break;
    case CalendarZone::kNone:
      return;
  }
  // The keyboard's day follows the pen to another month only as far as that month's length.
  if (key_day_ != 0)
    key_day_ = std::min(key_day_, static_cast<int32_t>(DaysInMonth(year_, month_)));
  if (moved) Redraw(dialog);
}

bool CScheduleView::OnKey(ce::HWND dialog, ce::UINT key) {
  // The keyboard's day starts where the pen's eye is: today in the start-up month, else the 1st.
  CalendarDay at{year_, month_, key_day_};
  if (at.day == 0) at.day = year_ == start_year_ && month_ == start_month_ ? selected_day_ : 1;
  if (key == ce::VK_RETURN || key == ce::VK_SPACE) {
    Pick(dialog, at.day);
    return true;
  }
  if (key == ce::VK_ESCAPE) {
    Leave(dialog);
    return true;
  }
  using enum DayMove;
  constexpr std::pair<ce::UINT, DayMove> kMoves[] = {
      {ce::VK_LEFT, kPreviousDay}, {ce::VK_RIGHT, kNextDay},       {ce::VK_UP, kPreviousWeek},
      {ce::VK_DOWN, kNextWeek},    {ce::VK_PRIOR, kPreviousMonth}, {ce::VK_NEXT, kNextMonth},
  };
  const auto* found = std::find_if(std::begin(kMoves), std::end(kMoves),
                                   [key](const auto& m) { return m.first == key; });
  if (found == std::end(kMoves)) return false;
  MoveDay(&at, found->second);
  year_ = at.year;
  month_ = at.month;
  key_day_ = at.day;
  Redraw(dialog);
  return true;
}

void CScheduleView::Redraw(ce::HWND dialog) {
  ce::HDC dc = ce::GetDC(dialog);
  DrawMonth(dialog, dc);
  ce::ReleaseDC(dialog, dc);
  if (SchedulingDays()) DrawDayIcons(dialog);
}

void CScheduleView::Pick(ce::HWND dialog, int day) {
  ForgetDialog();  // ended here, not by the switch
  PickDay(day);
  CDocument_::GoBack();
  ce::EndDialog(dialog, ce::IDOK);
}

void CScheduleView::Leave(ce::HWND dialog) {
  ForgetDialog();
  if (SchedulingDays()) {
    CDocument_::SetView(kCycleView);
  } else {
    CDocument_::GoBack();
  }
  ce::EndDialog(dialog, ce::IDCANCEL);
}

void CScheduleView::PickDay(int day) {
  const int32_t caller = CDocument_::GetPreviousView();
  if (!PicksDates(caller)) return;
  selected_day_ = day;
  ViewParams params;
  DateToDayNumber(static_cast<uint16_t>(year_), static_cast<uint16_t>(month_),
                  static_cast<uint16_t>(day), params.day_number);
  const std::u16string text = FormatDate(params.day_number);
  text.copy(params.date_text, std::size(params.date_text) - 1);
  if (caller == kNoteView) params.extra = extra_;
  CDocument_::PassParams(caller, &params);
}
