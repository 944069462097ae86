// The schedule with 30 years of daily "Pill" records (10,958 days, each with a level, a pill at
// 8:30 and every fifth with a remark), in the real program on the headless display:
//   FillPillHistory    Pill History made, every pill day read, its lines built and listed, and
//                      the dialog painted;
//   OpenDayEntry       the editor's dialog made for one day, the day found among all records,
//                      and the dialog painted;
//   SaveDay            one day saved over its record, as Done does (one durable commit);
//   DrawCalendarMonth  the calendar painted again from the menu's "Schedule Edit": picture,
//                      month, and the icons of the month, for which every record is read.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "frame/dialog_screen.h"
#include "frame/document.h"
#include "headless_program.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/object_store.h"
#include "platform/window.h"
#include "schedule/day_entry_view.h"
#include "schedule/pill_history_view.h"
#include "schedule/pill_records.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "ui/ids.h"

namespace {

constexpr int kYears = 30;
int days = 0;
DayNumber first_day = 0;

void Prepare(const std::filesystem::path& dir) {
  if (!ce::objectstore::Mount(dir).empty()) std::abort();
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  WriteSettings(settings);
  DayNumber end = 0;
  // The last years reach past the scenarios' today, so the calendar's month has icons.
  DateToDayNumber(1997, 1, 1, first_day);
  DateToDayNumber(1997 + kYears, 1, 1, end);
  // Written as new records in one unit: the records are those the editor writes.
  ce::objectstore::Transaction batch;
  CCeDatabase db;
  db.Open(u"Pill", 0);
  CCePropArray record;
  CCePropVal value;
  for (DayNumber day = first_day; day < end; ++day, ++days) {
    record.Clear();
    value.SetUI4(day);
    record.Append(value);
    value.SetI2(static_cast<int16_t>(day % 4));
    record.Append(value);
    value.SetBool(1);
    record.Append(value);
    value.SetString(day % 5 == 0 ? u"a remark" : u"");
    record.Append(value);
    value.SetString(u"8:30");
    record.Append(value);
    db.WriteNew(record);
  }
  db.Close();
  batch.Commit();
  ce::objectstore::Unmount();
}

void BM_FillPillHistory(benchmark::State& state) {
  auto* history = static_cast<CPillHistoryView*>(CDocument_::FindView(kPillHistoryView));
  bool full = true, painted = true;
  for (auto _ : state) {
    history->OnActivate();
    PumpMessages();
    state.PauseTiming();
    full = full && ce::SendDlgItemMessage(history->Dialog(), kCtlPillHistoryList, ce::LB_GETCOUNT,
                                          0, 0) == days;
    painted = painted && ShowsCyanControl(history->Dialog(), kCtlPillHistoryDelete);
    history->OnDeactivate();
    PumpMessages();
    state.ResumeTiming();
  }
  if (!full) state.SkipWithError("the list is not full");
  if (!painted) state.SkipWithError("Pill History was not painted");
}

void BM_OpenDayEntry(benchmark::State& state) {
  auto* editor = static_cast<CDayEntryView*>(CDocument_::FindView(kDayEntryView));
  ViewParams params;
  params.day_number = first_day + static_cast<DayNumber>(days / 2);
  FormatDate(params.day_number).copy(params.date_text, 9);
  editor->OnParams(&params);
  bool loaded = true, painted = true;
  for (auto _ : state) {
    // The dialog the editor runs, made and shown as its modal run does.
    const ce::HWND dialog = CreateScreenDialog(editor, kDlgDayEntry);
    ce::ShowWindow(dialog, ce::SW_SHOW);
    PumpMessages();
    state.PauseTiming();
    loaded = loaded && ce::SendDlgItemMessage(dialog, kCtlDayPill, ce::BM_GETCHECK, 0, 0) != 0;
    painted = painted && ShowsCyanControl(dialog, kCtlDayDone);
    ce::DestroyWindow(dialog);
    PumpMessages();
    state.ResumeTiming();
  }
  if (!loaded) state.SkipWithError("the day was not loaded");
  if (!painted) state.SkipWithError("the editor was not painted");
}

void BM_SaveDay(benchmark::State& state) {
  const DayNumber day = first_day + static_cast<DayNumber>(days / 2);
  int16_t level = 1;
  for (auto _ : state) {
    level = static_cast<int16_t>(level % 3 + 1);
    if (!SavePillDay({day, level, true, u"saved", u"8:30"})) state.SkipWithError("not saved");
  }
}

void BM_DrawCalendarMonth(benchmark::State& state) {
  const ce::HWND calendar = ce::GetActiveWindow();
  for (auto _ : state) {
    ce::InvalidateRect(calendar, nullptr, ce::TRUE);
    PumpMessages();
  }
}

// The walk through the program, one step each time it waits for input.
void Drive(int32_t timeout) {
  static int stage = 0;
  if (timeout == 0) return;
  switch (stage) {
    case 0:
      if (CDocument_::GetCurrentView() != kCycleView) return;
      // As "Schedule Edit" opens it; the other screens are measured over it.
      CDocument_::SetView(kScheduleView);
      CDocument_::SetPreviousView(kDayEntryView);
      ++stage;
      break;
    case 1:
      if (CDocument_::GetCurrentView() != kScheduleView) return;
      benchmark::RegisterBenchmark("DrawCalendarMonth/30 years", BM_DrawCalendarMonth)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("OpenDayEntry/30 years", BM_OpenDayEntry)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("SaveDay/30 years", BM_SaveDay)->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("FillPillHistory/30 years", BM_FillPillHistory)
          ->Unit(benchmark::kMillisecond);
      benchmark::RunSpecifiedBenchmarks();
      ce::InjectInput({ce::InputEvent::Kind::kClose, 0, 0, 0, 0});
      ++stage;
      break;
    default:
      break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  return RunProgramForBenchmark(&Prepare, &Drive);
}
