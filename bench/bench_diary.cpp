// My Diary with 2,000 notes in one category, in the real program on the headless display. Three
// figures split the fill:
//   ReadNotes   the store alone: the category's database opened and walked, every note read;
//   NoteLines   the store and the lines: date text and padding of every note;
//   FillDiary   the whole screen: its dialog made, the store read, the lines added to the list,
//               and the dialog painted.
// What FillDiary takes beyond NoteLines is the list filling, the dialog's making and the drawing.
//
// The program runs as it does for a user; the display's idle hook waits for the Cycle View and
// runs the benchmarks there.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "diary/diary_records.h"
#include "diary/diary_view.h"
#include "frame/document.h"
#include "headless_program.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/object_store.h"
#include "platform/window.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "ui/ids.h"

namespace {

constexpr int kNotes = 2000;
constexpr size_t kCategory = 0;  // "Doctor", the one My Diary opens with

void Prepare(const std::filesystem::path& dir) {
  if (!ce::objectstore::Mount(dir).empty()) std::abort();
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  WriteSettings(settings);
  DayNumber first = 0;
  DateToDayNumber(2000, 1, 1, first);
  {
    // Written as new records in one unit, every third day, the later days first so that the
    // store's order is not the day order: SaveNote's search for the day would make the
    // preparation quadratic, and the records are the same.
    ce::objectstore::Transaction batch;
    CCeDatabase db;
    db.Open(DiaryCategories()[kCategory].database, 0);
    CCePropArray record;
    CCePropVal value;
    for (int i = kNotes - 1; i >= 0; --i) {
      record.Clear();
      value.SetUI4(first + static_cast<DayNumber>(i) * 3);
      record.Append(value);
      value.SetString(i % 2 == 0 ? u"Dentist at 10:30" : u"Check-up, Dr. Weiss");
      record.Append(value);
      db.WriteNew(record);
    }
    db.Close();
    batch.Commit();
  }
  ce::objectstore::Unmount();
}

void BM_ReadNotes(benchmark::State& state) {
  for (auto _ : state) {
    if (ReadNotes(kCategory).size() != static_cast<size_t>(kNotes)) {
      state.SkipWithError("not every note was read");
    }
  }
}

void BM_NoteLines(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(NoteLines(kCategory));
}

void BM_FillDiary(benchmark::State& state) {
  auto* diary = static_cast<CDiaryView*>(CDocument_::FindView(kDiaryView));
  bool full = true, painted = true;
  for (auto _ : state) {
    diary->OnActivate();
    PumpMessages();
    state.PauseTiming();
    full = full &&
           ce::SendDlgItemMessage(diary->Dialog(), kCtlDiaryList, ce::LB_GETCOUNT, 0, 0) == kNotes;
    painted = painted && ShowsCyanControl(diary->Dialog(), kCtlDiaryDelete);
    diary->OnDeactivate();
    PumpMessages();
    state.ResumeTiming();
  }
  if (!full) state.SkipWithError("the list is not full");
  if (!painted) state.SkipWithError("My Diary was not painted");
}

// Waits for the first screen, then measures.
void Drive(int32_t timeout) {
  static bool done = false;
  if (timeout == 0 || done || CDocument_::GetCurrentView() != kCycleView) return;
  done = true;
  benchmark::RegisterBenchmark("ReadNotes/2000 notes (store)", BM_ReadNotes)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("NoteLines/2000 notes (store and lines)", BM_NoteLines)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FillDiary/2000 notes (all)", BM_FillDiary)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  ce::InjectInput({ce::InputEvent::Kind::kClose, 0, 0, 0, 0});
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  return RunProgramForBenchmark(&Prepare, &Drive);
}
