// The store plain and encrypted under a password, side by side, with 30 years of her records
// (10,958 readings and schedule days, 400 cycles, 2,000 notes):
// - opening the store and reading every record (for the encrypted one, the key derived from the
//   password first);
// - one durable write of a reading, as a screen's save makes it, and a unit of 30;
// - the conversion of the whole store, plain to encrypted;
// - in the whole program on the headless display, from the password typed at the start-up
//   prompt to the Cycle View shown, and from there the first visit of Temp History (its 10,958
//   readings read). The plain store has no password, so its figure runs from the start.
//
//   build/bench/bench_encryption
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "exchange/merge.h"
#include "frame/document.h"
#include "headless_program.h"
#include "platform/dialog.h"
#include "platform/message_box.h"
#include "platform/object_store.h"
#include "platform/window.h"
#include "store/catalogue.h"
#include "store/protection.h"
#include "store/settings.h"
#include "temperature/temperature_records.h"
#include "thirty_years.h"
#include "ui/ids.h"

namespace {

constexpr char16_t kPassword[] = u"correct horse battery";
constexpr const char* kKinds[] = {"plain", "encrypted"};
std::filesystem::path g_dirs[2];

using Clock = std::chrono::steady_clock;
double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool MountKind(int encrypted) {
  return MountProtected(g_dirs[encrypted], encrypted ? kPassword : u"").empty();
}

void BM_OpenAndReadEverything(benchmark::State& state) {
  for (auto _ : state) {
    Records records;
    std::string error;
    if (!MountKind(static_cast<int>(state.range(0))) || !ReadAllRecords(&records, &error) ||
        records.temperatures.size() != kThirtyYearsOfDays) {
      state.SkipWithError("the store did not open whole");
    }
    ce::objectstore::Unmount();
  }
  state.SetLabel(kKinds[state.range(0)]);
}
BENCHMARK(BM_OpenAndReadEverything)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_DurableWrite(benchmark::State& state) {
  if (!MountKind(static_cast<int>(state.range(0)))) state.SkipWithError("no store");
  double celsius = 36.5;
  for (auto _ : state) {
    celsius = celsius > 37 ? 36.5 : celsius + 0.1;
    if (!SaveTemperature(292136, celsius)) state.SkipWithError("not saved");
  }
  ce::objectstore::Unmount();
  state.SetLabel(kKinds[state.range(0)]);
}
BENCHMARK(BM_DurableWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ThirtyWritesInOneUnit(benchmark::State& state) {
  if (!MountKind(static_cast<int>(state.range(0)))) state.SkipWithError("no store");
  std::vector<TemperatureReading> month;
  for (DayNumber day = 292136; day < 292166; ++day) month.push_back({day, 36.6});
  for (auto _ : state) {
    size_t replaced = 0;
    if (!SaveTemperatures(month, &replaced)) state.SkipWithError("not saved");
  }
  ce::objectstore::Unmount();
  state.SetLabel(kKinds[state.range(0)]);
}
BENCHMARK(BM_ThirtyWritesInOneUnit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

bool PrepareStores() {
  for (auto& dir : g_dirs) {
    char pattern[] = "/tmp/calvira-bench-XXXXXX";
    dir = mkdtemp(pattern);
  }
  if (!ce::objectstore::Mount(g_dirs[0]).empty()) return false;
  CreateCatalogue();
  Records records = ThirtyYears();
  records.settings->show_logo = false;  // no two seconds of logo in the program's figures
  MergeSummary summary;
  const bool ok = EnsureSettingsRecord() && MergeRecords(records, &summary);
  ce::objectstore::Unmount();
  std::filesystem::copy_file(ce::objectstore::StoreFile(g_dirs[0]),
                             ce::objectstore::StoreFile(g_dirs[1]));
  if (!ok || !ce::objectstore::Mount(g_dirs[1]).empty()) return false;
  const auto start = Clock::now();
  const bool encrypted = ChangeProtection(g_dirs[1], u"", kPassword).empty();
  std::printf("Encrypting the plain store of 30 years (%ju KiB): %.0f ms\n",
              static_cast<uintmax_t>(
                  std::filesystem::file_size(ce::objectstore::StoreFile(g_dirs[1])) / 1024),
              MsSince(start));
  ce::objectstore::Unmount();
  return encrypted;
}

// One start of the program on a copy of the store: the time to the Cycle View (from the
// password's Enter for the encrypted store, from the start for the plain one) and that of the
// first visit of Temp History.
bool MeasureStart(int encrypted, double* to_cycle_view, double* to_temp_history) {
  Clock::time_point start = Clock::now();
  bool typed = false;
  bool done = false;
  bool visited = false;
  const int code = RunProgramForBenchmark(
      [encrypted, &start](const std::filesystem::path& dir) {
        std::filesystem::copy_file(ce::objectstore::StoreFile(g_dirs[encrypted]),
                                   ce::objectstore::StoreFile(dir));
        if (encrypted) {
          std::filesystem::copy_file(g_dirs[1] / "logo-disabled", dir / "logo-disabled");
        }
        start = Clock::now();
      },
      [&](int32_t) {
        if (done) return;
        const int32_t view = CDocument_::GetCurrentView();
        if (view == kPasswordEntryView && !typed) {
          ce::HWND prompt = ce::GetActiveWindow();
          ce::SetDlgItemText(prompt, kCtlPasswordField, kPassword);
          typed = true;
          start = Clock::now();
          ce::PostMessage(prompt, ce::WM_COMMAND, ce::IDOK, 0);
          return;
        }
        if (view != kCycleView) return;
        done = true;  // the pumps below come back here
        PumpMessages();
        *to_cycle_view = MsSince(start);
        const auto visit = Clock::now();
        CDocument_::SetView(kTempHistoryView);
        PumpMessages();
        *to_temp_history = MsSince(visit);
        visited = CDocument_::GetCurrentView() == kTempHistoryView;
        ce::PostMessage(CDocument_::GetMainWnd(), ce::WM_CLOSE, 0, 0);
      });
  return code == 0 && visited;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  ce::SetMessageBoxEcho(true);
  if (!PrepareStores()) {
    std::fprintf(stderr, "cannot prepare the stores\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  constexpr int kStarts = 5;
  for (int encrypted = 0; encrypted < 2; ++encrypted) {
    std::vector<double> starts, visits;
    for (int i = 0; i < kStarts; ++i) {
      double start = 0, visit = 0;
      if (!MeasureStart(encrypted, &start, &visit)) {
        std::fprintf(stderr, "the %s start did not reach Temp History\n", kKinds[encrypted]);
        return 1;
      }
      starts.push_back(start);
      visits.push_back(visit);
    }
    std::sort(starts.begin(), starts.end());
    std::sort(visits.begin(), visits.end());
    std::printf("%-9s %s to the Cycle View: median %.0f ms of %d; first Temp History: %.1f ms\n",
                kKinds[encrypted], encrypted ? "password's Enter" : "start", starts[kStarts / 2],
                kStarts, visits[kStarts / 2]);
  }
  for (const auto& dir : g_dirs) std::filesystem::remove_all(dir);
  return 0;
}
