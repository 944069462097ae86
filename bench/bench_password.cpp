// The password's cost as the user feels it: checking a typed password against the stored hash
// (the start-up prompt and the Password screen's OK) and making a new hash (the Password
// screen's save), both with libsodium's interactive limits, which HashPassword uses. Each is
// meant to take a noticeable fraction of a second, so that guessing is slow too.
//
//   build/bench/bench_password [--benchmark_min_time=2]
#include <benchmark/benchmark.h>
#include <sodium.h>

#include <string>

#include "store/password_hash.h"

namespace {

void BM_VerifyPassword(benchmark::State& state) {
  const std::u16string stored = HashPassword(u"Pen Secret 7");
  if (stored.empty()) state.SkipWithError("hashing failed");
  bool right = false;
  for (auto _ : state) {
    right = VerifyPassword(stored, u"Pen Secret 7");
    benchmark::DoNotOptimize(right);
  }
  if (!right) state.SkipWithError("the password was not accepted");
}
BENCHMARK(BM_VerifyPassword)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HashPassword(benchmark::State& state) {
  for (auto _ : state) {
    std::u16string stored = HashPassword(u"Pen Secret 7");
    benchmark::DoNotOptimize(stored);
    if (stored.empty()) state.SkipWithError("hashing failed");
  }
  state.counters["memlimit_MiB"] =
      static_cast<double>(crypto_pwhash_MEMLIMIT_INTERACTIVE) / (1024.0 * 1024.0);
  state.counters["opslimit"] = static_cast<double>(crypto_pwhash_OPSLIMIT_INTERACTIVE);
}
BENCHMARK(BM_HashPassword)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
