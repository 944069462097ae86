// Export and import of 30 years of her records (10,958 readings and days, 400 cycles, 2,000
// notes) through the same code as calvira-data: the merge into an empty store and over a full
// one, the export's read of a snapshot, and the JSON written and read back. Aim: an import and
// an export each under one second. Peak memory of the whole run is printed at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "exchange/json_format.h"
#include "exchange/merge.h"
#include "platform/object_store.h"
#include "store/catalogue.h"
#include "store/settings.h"
#include "thirty_years.h"

namespace {

const Records& Data() {
  static const Records records = ThirtyYears();
  return records;
}

void MountEmpty() {
  char pattern[] = "/tmp/calvira-bench-XXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern);
  if (!ce::objectstore::Mount(dir).empty()) std::abort();
  CreateCatalogue();
  EnsureSettingsRecord();
}

void BM_ImportIntoEmptyStore(benchmark::State& state) {
  const std::string text = ToJson(Data());
  for (auto _ : state) {
    state.PauseTiming();
    MountEmpty();
    state.ResumeTiming();
    Records parsed;
    std::string fault;
    MergeSummary summary;
    if (!FromJson(text, &parsed, &fault) || !MergeRecords(parsed, &summary)) {
      state.SkipWithError("import failed");
    }
  }
}

void BM_ImportOverTheSameRecords(benchmark::State& state) {
  const std::string text = ToJson(Data());
  MountEmpty();
  MergeSummary summary;
  MergeRecords(Data(), &summary);
  for (auto _ : state) {
    Records parsed;
    std::string fault;
    if (!FromJson(text, &parsed, &fault) || !MergeRecords(parsed, &summary)) {
      state.SkipWithError("import failed");
    }
  }
}

void BM_Export(benchmark::State& state) {
  MountEmpty();
  MergeSummary summary;
  MergeRecords(Data(), &summary);
  size_t bytes = 0;
  for (auto _ : state) {
    Records records;
    std::string error;
    if (!ReadAllRecords(&records, &error)) state.SkipWithError("export failed");
    bytes = ToJson(records).size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

}  // namespace

BENCHMARK(BM_ImportIntoEmptyStore)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportOverTheSameRecords)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("Peak memory of the whole run: %ld MiB\n", usage.ru_maxrss / 1024);
  return 0;
}
