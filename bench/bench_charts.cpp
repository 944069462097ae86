// Cycle Charts and Temperature Charts over a long history, in the real program on the headless
// display: 30 years of daily readings (10,957) and 400 cycles. Measured: opening Temperature
// Charts on the latest reading, one page turn back, a tap's day detail, Cycle Charts' first page
// and one page turn. Aim: each under 16 ms, a frame at 60 Hz. The store's share is measured on
// its own: reading a window of readings and rebuilding "Temp", and reading the cycles.
//
// The display's idle hook opens Temperature Charts and runs the benchmarks; each switches to
// its screen first, outside the timing.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "charts/cycle_charts_view.h"
#include "charts/temp_charts_view.h"
#include "charts/temperature_window.h"
#include "cycles/cycle_records.h"
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
#include "ui/ids.h"

namespace {

constexpr int kCycles = 400;
DayNumber first_reading = 0;
DayNumber last_reading = 0;

void Prepare(const std::filesystem::path& dir) {
  if (!ce::objectstore::Mount(dir).empty()) std::abort();
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  WriteSettings(settings);
  DateToDayNumber(1996, 12, 1, first_reading);
  DateToDayNumber(2026, 11, 30, last_reading);
  {
    ce::objectstore::Transaction batch;
    CCeDatabase db;
    db.Open(u"Temperature", 0);
    for (DayNumber day = first_reading; day <= last_reading; ++day) {
      CCePropArray props;
      CCePropVal value;
      value.SetUI4(day);
      props.Append(value);
      value.SetR8(36.2 + 0.1 * static_cast<double>(day % 9));
      props.Append(value);
      db.WriteNew(props);
    }
    db.Close();
    DayNumber start = 0;
    DateToDayNumber(1990, 1, 1, start);
    db.Open(u"Cycles", 0);
    for (int i = 0; i < kCycles; ++i) {
      WriteCycleRecord(db, {start, 5, 28}, true);
      start += 26 + static_cast<DayNumber>(i % 5);
    }
    db.Close();
    batch.Commit();
  }
  RecalculateCycles();
  ce::objectstore::Unmount();
}

void TapDialog(ce::HWND dialog, int32_t x, int32_t y) {
  ce::SendMessage(dialog, ce::WM_LBUTTONDOWN, 0, ce::MAKELPARAM(x, y));
  PumpMessages();
}

CTempChartsView* TempCharts() {
  return static_cast<CTempChartsView*>(CDocument_::FindView(kTempChartsView));
}
CCycleChartsView* CycleCharts() {
  return static_cast<CCycleChartsView*>(CDocument_::FindView(kCycleChartsView));
}

// Switches screens as the menu does, outside the timing.
void EnsureView(int32_t id) {
  if (CDocument_::GetCurrentView() == id) return;
  CDocument_::SetView(id);
  PumpMessages();
}

void BM_OpenTempCharts(benchmark::State& state) {
  EnsureView(kTempChartsView);
  for (auto _ : state) {
    state.PauseTiming();
    TempCharts()->OnDeactivate();
    PumpMessages();
    state.ResumeTiming();
    TempCharts()->OnActivate();
    PumpMessages();
  }
  if (TempCharts()->FirstDay() != last_reading - 24) state.SkipWithError("not the latest");
}

void BM_TempChartsPageBack(benchmark::State& state) {
  EnsureView(kTempChartsView);
  for (auto _ : state) {
    TapDialog(TempCharts()->Dialog(), 102, 17);
    state.PauseTiming();
    TapDialog(TempCharts()->Dialog(), 117, 17);
    state.ResumeTiming();
  }
}

void BM_TempChartsDayDetail(benchmark::State& state) {
  EnsureView(kTempChartsView);
  for (auto _ : state) TapDialog(TempCharts()->Dialog(), 120, 150);
}

// The store's share of a drawing of the temperature chart.
void BM_TempWindowStore(benchmark::State& state) {
  for (auto _ : state) {
    std::vector<ChartReading> window = ReadReadings(last_reading - 49, last_reading - 25);
    if (window.size() != 25) state.SkipWithError("not 25 readings");
    RebuildTempDatabase(window);
  }
}

void BM_OpenCycleCharts(benchmark::State& state) {
  EnsureView(kCycleChartsView);
  for (auto _ : state) {
    state.PauseTiming();
    CycleCharts()->OnDeactivate();
    PumpMessages();
    state.ResumeTiming();
    CycleCharts()->OnActivate();
    PumpMessages();
  }
}

void BM_CycleChartsPageTurn(benchmark::State& state) {
  EnsureView(kCycleChartsView);
  for (auto _ : state) {
    TapDialog(CycleCharts()->Dialog(), 117, 17);
    state.PauseTiming();
    TapDialog(CycleCharts()->Dialog(), 102, 17);
    state.ResumeTiming();
  }
}

// The store's share of a drawing of Cycle Charts.
void BM_CycleChartsStore(benchmark::State& state) {
  for (auto _ : state) {
    if (ReadCycles().size() != kCycles) state.SkipWithError("not 400 cycles");
  }
}

void Drive(int32_t timeout) {
  static int stage = 0;
  if (timeout == 0) return;
  switch (stage) {
    case 0:
      CDocument_::SetView(kTempChartsView);
      ++stage;
      break;
    case 1:
      if (TempCharts()->Dialog() == nullptr) return;
      benchmark::RegisterBenchmark("TempCharts/open on the latest reading", BM_OpenTempCharts)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("TempCharts/page back", BM_TempChartsPageBack)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("TempCharts/day detail", BM_TempChartsDayDetail)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("TempCharts/store: read window + rebuild Temp",
                                   BM_TempWindowStore)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("CycleCharts/first page", BM_OpenCycleCharts)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("CycleCharts/page turn", BM_CycleChartsPageTurn)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("CycleCharts/store: read 400 cycles", BM_CycleChartsStore)
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
