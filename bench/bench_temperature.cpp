// Temp History with 30 years of daily readings (10,958 records), in the real program on the
// headless display. Three figures split the fill:
//   ReadTemperatures  the store alone: the database opened and walked, every record read;
//   TemperatureRows   the rows alone: date text, padding and value of every reading;
//   FillTempHistory   the whole screen: its dialog made, the store read, the rows formatted and
//                     added to the list, and the dialog painted;
//   PaintTempHistory  the drawing alone: the open screen painted again, picture, controls and
//                     the list's visible rows.
// What FillTempHistory takes beyond the store, the rows and the drawing is the list filling
// and the dialog's making.
//
// The program runs as it does for a user; the display's idle hook waits for the Cycle View and
// runs the benchmarks there.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "frame/document.h"
#include "headless_program.h"
#include "platform/dialog.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/window.h"
#include "program/run.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"
#include "temperature/temp_history.h"
#include "temperature/temp_history_view.h"
#include "temperature/temperature_records.h"
#include "ui/ids.h"

namespace {

constexpr int kYears = 30;
int readings = 0;

void Prepare(const std::filesystem::path& dir) {
  if (!ce::objectstore::Mount(dir).empty()) std::abort();
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  WriteSettings(settings);
  DayNumber first = 0, end = 0;
  DateToDayNumber(1996, 1, 1, first);
  DateToDayNumber(1996 + kYears, 1, 1, end);
  {
    // Written as new records in one unit: SaveTemperature's search for the day would make the
    // preparation quadratic, and the records are the same.
    ce::objectstore::Transaction batch;
    CCeDatabase db;
    db.Open(u"Temperature", 0);
    CCePropArray record;
    CCePropVal value;
    for (DayNumber day = first; day < end; ++day, ++readings) {
      record.Clear();
      value.SetUI4(day);
      record.Append(value);
      value.SetR8(36.0 + (day % 15) * 0.1);
      record.Append(value);
      db.WriteNew(record);
    }
    db.Close();
    batch.Commit();
  }
  ce::objectstore::Unmount();
}

void BM_ReadTemperatures(benchmark::State& state) {
  for (auto _ : state) {
    if (ReadTemperatures().size() != static_cast<size_t>(readings)) {
      state.SkipWithError("not every reading was read");
    }
  }
}

void BM_TemperatureRows(benchmark::State& state) {
  const std::vector<TemperatureReading> all = ReadTemperatures();
  for (auto _ : state) {
    benchmark::DoNotOptimize(TemperatureRows(all, TemperatureScale::kFahrenheit));
  }
}

void BM_FillTempHistory(benchmark::State& state) {
  auto* history = static_cast<CTempHistoryView*>(CDocument_::FindView(kTempHistoryView));
  bool full = true, painted = true;
  for (auto _ : state) {
    history->OnActivate();
    PumpMessages();
    state.PauseTiming();
    full = full && ce::SendDlgItemMessage(history->Dialog(), kCtlTempList, ce::LB_GETCOUNT, 0, 0) ==
                       readings;
    painted = painted && ShowsCyanControl(history->Dialog(), kCtlTempDelete);
    history->OnDeactivate();
    PumpMessages();
    state.ResumeTiming();
  }
  if (!full) state.SkipWithError("the list is not full");
  if (!painted) state.SkipWithError("Temp History was not painted");
}

void BM_PaintTempHistory(benchmark::State& state) {
  auto* history = static_cast<CTempHistoryView*>(CDocument_::FindView(kTempHistoryView));
  history->OnActivate();
  PumpMessages();
  for (auto _ : state) {
    ce::InvalidateRect(history->Dialog(), nullptr, ce::TRUE);
    PumpMessages();
  }
  history->OnDeactivate();
  PumpMessages();
}

// Waits for the first screen, then measures.
void Drive(int32_t timeout) {
  static bool done = false;
  if (timeout == 0 || done || CDocument_::GetCurrentView() != kCycleView) return;
  done = true;
  benchmark::RegisterBenchmark("ReadTemperatures/30 years (store)", BM_ReadTemperatures)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("TemperatureRows/30 years (rows)", BM_TemperatureRows)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FillTempHistory/30 years (all)", BM_FillTempHistory)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PaintTempHistory/30 years (drawing)", BM_PaintTempHistory)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  ce::InjectInput({ce::InputEvent::Kind::kClose, 0, 0, 0, 0});
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  return RunProgramForBenchmark(&Prepare, &Drive);
}
