#include "scenarios/cycle_steps.h"

#include <gtest/gtest.h>

#include "frame/document.h"
#include "platform/dialog.h"
#include "platform/text.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"

namespace calvira::testing {

DayNumber Day(uint16_t year, uint16_t month, uint16_t day) {
  DayNumber n = 0;
  EXPECT_TRUE(DateToDayNumber(year, month, day, n));
  return n;
}

void StoreCycles(const std::vector<CycleRecord>& cycles) {
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  ASSERT_TRUE(WriteSettings(settings));
  CCeDatabase db;
  ASSERT_TRUE(db.Open(u"Cycles", 0));
  for (const CycleRecord& c : cycles) ASSERT_TRUE(WriteCycleRecord(db, c, true));
  db.Close();
  AverageCycleLength = 0;
}

void ExpectCycles(const std::vector<CycleRecord>& expected) {
  const std::vector<CycleRecord> stored = ReadCycles();
  ASSERT_EQ(stored.size(), expected.size());
  for (size_t i = 0; i < stored.size(); ++i) {
    EXPECT_EQ(stored[i].start, expected[i].start) << i;
    EXPECT_EQ(stored[i].periodLength, expected[i].periodLength) << i;
    EXPECT_EQ(stored[i].cycleLength, expected[i].cycleLength) << i;
  }
}

std::vector<std::pair<DayNumber, int32_t>> StoredCycles() {
  std::vector<std::pair<DayNumber, int32_t>> out;
  for (const CycleRecord& c : ReadCycles()) out.emplace_back(c.start, c.cycleLength);
  return out;
}

void ExpectView(int32_t id) {
  EXPECT_EQ(CDocument_::GetCurrentView(), id);
}

std::vector<std::u16string> ListLines(ce::HWND dialog, int id) {
  std::vector<std::u16string> lines;
  const auto count = ce::SendDlgItemMessage(dialog, id, ce::LB_GETCOUNT, 0, 0);
  for (ce::LRESULT i = 0; i < count; ++i) {
    std::u16string line(
        static_cast<size_t>(ce::SendDlgItemMessage(dialog, id, ce::LB_GETTEXTLEN, i, 0)), u'\0');
    ce::SendDlgItemMessage(dialog, id, ce::LB_GETTEXT, i,
                           reinterpret_cast<ce::LPARAM>(line.data()));
    lines.push_back(line);
  }
  return lines;
}

std::u16string Text(ce::HWND dialog, int id) {
  return ce::GetWindowString(ce::GetDlgItem(dialog, id));
}

int32_t TextWidth(ce::HWND control, const std::u16string& text) {
  ce::HDC dc = ce::GetDC(control);
  const auto font = reinterpret_cast<ce::HFONT>(ce::SendMessage(control, ce::WM_GETFONT, 0, 0));
  if (font != nullptr) ce::SelectObject(dc, font);
  ce::SIZE size{};
  ce::GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ce::ReleaseDC(control, dc);
  return size.cx;
}

std::string Field(int id) {
  return ce::ToUtf8(Text(ce::GetActiveWindow(), id));
}

bool OkEnabled() {
  return ce::IsWindowEnabled(ce::GetDlgItem(ce::GetActiveWindow(), ce::IDOK)) != ce::FALSE;
}

Scenario& PickDate(Scenario& s, int32_t asker, int field, DayNumber day) {
  s.TapControl(field).Check([asker, day] {
    ExpectView(kScheduleView);
    ASSERT_EQ(CDocument_::GetPreviousView(), asker);
    ViewParams params;
    FormatDate(day).copy(params.date_text, 9);
    params.day_number = day;
    CDocument_::PassParams(asker, &params);
    CDocument_::GoBack();
  });
  return s.Wait(10);
}

}  // namespace calvira::testing
