// The Cycle View with 400 stored cycles, in the whole program on the headless display: switching
// to the screen (its old dialog destroyed, the switch message, the new dialog, the store read and
// the time line drawn and presented), and one step of the strip's arrows (a pen tap, the store
// read and the time line drawn and presented). A frame at 60 Hz is 16.7 ms.
//
//   build/bench/bench_cycles [--benchmark_min_time=1]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cycles/cycle_records.h"
#include "cycles/cycle_view.h"
#include "cycles/time_line.h"
#include "frame/document.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/window.h"
#include "program/run.h"
#include "store/catalogue.h"
#include "store/ce_database.h"
#include "store/settings.h"

namespace {

constexpr int kCycles = 400;
ce::HeadlessDisplay* g_display = nullptr;

// Whether every pass showed a frame and the last one is a 28-day time line (a tick at row 9).
bool EveryPassShown(int presents_before, benchmark::IterationCount passes) {
  const bool ticked = ce::FrameBufferPixels()[9 * ce::kScreenWidth + 50] == kTimeLineColour;
  return ticked && g_display->PresentCount() - presents_before >= passes;
}

// Handles every message the program has, paints included, and shows the frame.
void Settle() {
  ce::MSG msg;
  while (ce::PeekMessage(&msg, nullptr, 0, 0, ce::PM_REMOVE)) {
    ce::TranslateMessage(&msg);
    ce::DispatchMessage(&msg);
  }
  ce::FlushDisplay();
}

void BM_SwitchToCycleView(benchmark::State& state) {
  const int presents = g_display->PresentCount();
  for (auto _ : state) {
    CDocument_::SetView(kCycleView);
    Settle();
  }
  if (CDocument_::GetCurrentView() != kCycleView || !EveryPassShown(presents, state.iterations())) {
    state.SkipWithError("the Cycle View was not shown");
  }
}
BENCHMARK(BM_SwitchToCycleView)->Unit(benchmark::kMillisecond);

void BM_ArrowStep(benchmark::State& state) {
  CCycleView* view = CCycleView::Find();
  const int presents = g_display->PresentCount();
  bool older = true;
  int steps = 0;
  for (auto _ : state) {
    // Older and newer by turns, so that every tap is a real step.
    const int32_t y = older ? 7 : 260;
    const int32_t before = view->ShownCycleIndex();
    ce::InjectInput({ce::InputEvent::Kind::kPenDown, 12, y});
    ce::InjectInput({ce::InputEvent::Kind::kPenUp, 12, y});
    Settle();
    steps += view->ShownCycleIndex() != before;
    older = !older;
  }
  if (steps != state.iterations() || !EveryPassShown(presents, state.iterations())) {
    state.SkipWithError("a tap did not step");
  }
}
BENCHMARK(BM_ArrowStep)->Unit(benchmark::kMillisecond);

bool PrepareStore(const std::filesystem::path& dir) {
  if (!ce::objectstore::Mount(dir).empty()) return false;
  CreateCatalogue();
  Settings settings;
  settings.logo_disabled = true;  // no two seconds of logo before the measurements
  bool ok = WriteSettings(settings);
  CCeDatabase db;
  ok = ok && db.Open(u"Cycles", 0);
  {
    ce::objectstore::Transaction batch;
    const DayNumber first = 292136;  // 1 January 2000
    for (int i = 0; ok && i < kCycles; ++i) {
      ok = WriteCycleRecord(db, {first + 28u * static_cast<DayNumber>(i), 5, 28}, true);
    }
    ok = ok && batch.Commit();
  }
  db.Close();
  ce::objectstore::Unmount();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  char pattern[] = "/tmp/calvira-bench-XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern);
  ce::SetMessageBoxEcho(true);
  if (!PrepareStore(dir)) {
    std::fprintf(stderr, "cannot prepare the store in %s\n", dir.c_str());
    return 1;
  }

  auto display = std::make_unique<ce::HeadlessDisplay>(ce::kScreenWidth, ce::kFrameHeight);
  ce::HeadlessDisplay* headless = display.get();
  g_display = headless;
  bool measuring = false;
  bool measured = false;
  // The first time the program waits for input, the Cycle View is up: measure from there, then
  // close the window. The program's own waits while measuring are only polls.
  headless->SetIdleHook([&](int32_t) {
    if (measuring) return;
    if (!measured) {
      measuring = true;
      benchmark::RunSpecifiedBenchmarks();
      measuring = false;
      measured = true;
    }
    headless->Push({ce::InputEvent::Kind::kClose});
  });
  ProgramOptions options;
  options.data_dir = dir;
  options.display = std::move(display);
  std::string error;
  const int code = RunProgram(std::move(options), &error);
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
  return measured ? code : 1;
}
