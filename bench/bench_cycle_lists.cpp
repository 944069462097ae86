// Cycle History and Prediction with 400 stored cycles, in the real program on the headless
// display: filling Cycle History (its dialog made, the 400 lines listed and painted) and one
// Predict over ten years (the steps computed, the list filled and painted). Aim: each under
// 16 ms, a frame at 60 Hz.
//
// The program runs as it does for a user; the display's idle hook walks it to the Prediction
// screen with a ten-year period, as the calendar would hand it over, and runs the benchmarks
// there.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>

#include "cycles/cycle_history_view.h"
#include "cycles/cycle_records.h"
#include "cycles/prediction_view.h"
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
constexpr DayNumber kTenYears = 3652;

void Prepare(const std::filesystem::path& dir) {
  if (!ce::objectstore::Mount(dir).empty()) std::abort();
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;
  WriteSettings(settings);
  DayNumber start = 0;
  DateToDayNumber(1990, 1, 1, start);
  {
    ce::objectstore::Transaction batch;
    CCeDatabase db;
    db.Open(u"Cycles", 0);
    for (int i = 0; i < kCycles; ++i) {
      WriteCycleRecord(db, {start, 5, 28}, true);
      start += 26 + static_cast<DayNumber>(i % 5);  // lengths 26 to 30
    }
    db.Close();
    batch.Commit();
  }
  RecalculateCycles();
  ce::objectstore::Unmount();
}

void BM_FillCycleHistory(benchmark::State& state) {
  CView_* history = CDocument_::FindView(kCycleHistoryView);
  for (auto _ : state) {
    history->OnActivate();
    PumpMessages();
    state.PauseTiming();
    if (ce::SendDlgItemMessage(static_cast<CCycleHistoryView*>(history)->Dialog(), kCtlHistoryList,
                               ce::LB_GETCOUNT, 0, 0) != kCycles) {
      state.SkipWithError("the list is not full");
    }
    // The average line, cyan, is on the screen: the dialog was painted.
    if (ce::FrameBufferPixels()[216 * ce::kScreenWidth + 18] != 0x07FF) {
      state.SkipWithError("Cycle History was not painted");
    }
    history->OnDeactivate();
    PumpMessages();
    state.ResumeTiming();
  }
}

void BM_PredictTenYears(benchmark::State& state) {
  auto* prediction = static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
  const ce::HWND dialog = prediction->Dialog();
  for (auto _ : state) {
    ce::SendMessage(dialog, ce::WM_COMMAND, ce::MAKEWPARAM(kCtlPredict, ce::BN_CLICKED), 0);
    PumpMessages();
  }
  if (prediction->PredictedDays().size() != kTenYears / 28) {
    state.SkipWithError("not ten years by 28 days");
  }
}

// The walk through the program, one step each time it waits for input.
void Drive(int32_t timeout) {
  static int stage = 0;
  if (timeout == 0) return;
  auto* prediction = static_cast<CPredictionView*>(CDocument_::FindView(kPredictionView));
  switch (stage) {
    case 0:
      CDocument_::SetView(kPredictionView);
      ++stage;
      break;
    case 1:
      if (prediction->Dialog() == nullptr) return;
      // Tapping the end date opens the calendar ...
      ce::SetFocus(ce::GetDlgItem(prediction->Dialog(), kCtlPredictionEnd));
      ++stage;
      break;
    case 2: {
      // ... which hands the picked day back.
      if (CDocument_::GetCurrentView() != kScheduleView) return;
      ViewParams params;
      params.day_number = prediction->Start() + kTenYears;
      FormatDate(params.day_number).copy(params.date_text, 9);
      CDocument_::PassParams(kPredictionView, &params);
      CDocument_::GoBack();
      ++stage;
      break;
    }
    case 3:
      if (prediction->Dialog() == nullptr) return;
      // The stored average of these cycles is 28.
      ce::SetDlgItemText(prediction->Dialog(), kCtlPredictionAverage, u"28");
      benchmark::RegisterBenchmark("FillCycleHistory/400 cycles", BM_FillCycleHistory)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark("PredictTenYears/28 days", BM_PredictTenYears)
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
