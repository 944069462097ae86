// The record store against raw SQLite: 11,000 "Temperature" records (one a day for 30 years),
// walked in date order with SeekNext + ReadCurrRecord, and the same rows stepped through a plain
// SELECT on the same file. Prints both rates and their ratio.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "platform/message_box.h"
#include "platform/object_store.h"
#include "store/catalogue.h"

namespace {

constexpr int kRecords = 11000;
constexpr ce::CEPROPID kByDay = ce::PropId(0, ce::CEVT_UI4);
std::filesystem::path g_dir;

void WriteReading(CCeDatabase& db, uint32_t day) {
  CCePropArray record;
  CCePropVal v;
  v.SetUI4(day);
  record.Append(v);
  v.SetR8(36.0 + (day % 17) * 0.1);
  record.Append(v);
  db.WriteNew(record);
}

void Prepare() {
  char pattern[] = "/tmp/calvira-bench-XXXXXX";
  g_dir = mkdtemp(pattern);
  ce::SetMessageBoxEcho(true);
  if (!ce::objectstore::Mount(g_dir).empty()) std::abort();
  CreateCatalogue();
  CCeDatabase db;
  db.Open(u"Temperature", kByDay);
  const auto start = std::chrono::steady_clock::now();
  {
    ce::objectstore::Transaction batch;
    for (int i = 0; i < kRecords; ++i) WriteReading(db, 292136 + static_cast<uint32_t>(i));
    batch.Commit();
  }
  const double batch_s =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  db.Close();

  // Single writes, each durable on its own, as the screens make them.
  db.Open(u"Temp", kByDay);
  constexpr int kSingles = 200;
  const auto single_start = std::chrono::steady_clock::now();
  for (int i = 0; i < kSingles; ++i) WriteReading(db, 292136 + static_cast<uint32_t>(i));
  const double single_s =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - single_start).count();
  db.Close();
  std::printf("Writing %d records in one transaction: %.0f ms (%.1f us a record)\n", kRecords,
              batch_s * 1e3, batch_s * 1e6 / kRecords);
  std::printf("Durable single writes: %.2f ms each (%d writes)\n", single_s * 1e3 / kSingles,
              kSingles);
}

void BM_StoreWalk(benchmark::State& state) {
  CCeDatabase db;
  CCePropArray record;
  for (auto _ : state) {
    db.Open(u"Temperature", kByDay);
    double sum = 0;
    int rows = 0;
    for (bool more = db.RecordCount() > 0; more; more = db.SeekNext()) {
      db.ReadCurrRecord(record);
      sum += record.At(1).R8() + record.At(0).I4();
      ++rows;
    }
    db.Close();
    if (rows != kRecords) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_StoreWalk)->Unit(benchmark::kMillisecond);

void BM_RawSqliteSelect(benchmark::State& state) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(ce::objectstore::StoreFile(g_dir).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT p.oid, p.pid, p.value FROM records r JOIN props p ON p.oid = r.oid "
                     "WHERE r.db = (SELECT oid FROM databases WHERE name = 'Temperature') "
                     "ORDER BY r.oid, p.pos",
                     -1, &stmt, nullptr);
  for (auto _ : state) {
    double sum = 0;
    int rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      sum += sqlite3_column_double(stmt, 2) + static_cast<double>(sqlite3_column_int64(stmt, 0));
      ++rows;
    }
    sqlite3_reset(stmt);
    if (rows != 2 * kRecords) state.SkipWithError("wrong row count");
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}
BENCHMARK(BM_RawSqliteSelect)->Unit(benchmark::kMillisecond);

// The first open of a database in a run reads all its records into memory.
void BM_StoreFirstOpen(benchmark::State& state) {
  CCeDatabase db;
  for (auto _ : state) {
    state.PauseTiming();
    ce::objectstore::Unmount();
    ce::objectstore::Mount(g_dir);
    state.ResumeTiming();
    db.Open(u"Temperature", kByDay);
    db.Close();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_StoreFirstOpen)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration, for the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration) ms_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> ms_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Prepare();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double walk = reporter.ms_["BM_StoreWalk"];
  const double raw = reporter.ms_["BM_RawSqliteSelect"];
  if (walk > 0 && raw > 0) {
    std::printf(
        "\nWalk of %d records: store %.2f ms (%.1f M records/s), raw SQLite %.2f ms "
        "(%.1f M records/s); store / raw = %.2fx (aim: at most 3x)\n",
        kRecords, walk, kRecords / walk / 1e3, raw, kRecords / raw / 1e3, walk / raw);
  }
  ce::objectstore::Unmount();
  std::filesystem::remove_all(g_dir);
  return 0;
}
