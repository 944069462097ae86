// Text: drawing and measuring a typical line in the small bold font, flat and turned, and what
// opening an already-used font costs the controls that create one per paint.
//
//   build/bench/bench_fonts [--benchmark_min_time=2]
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/font_engine.h"

namespace {

constexpr int32_t kWidth = 240;
constexpr int32_t kHeight = 268;
const std::u16string kLine = u"Next period: Wed 14 May (28 d)";  // 30 characters

ce::fonts::FontSpec SmallBold(int32_t escapement = 0) {
  return {u"Tahoma", 13, 700, false, escapement};
}

void Draw(benchmark::State& state, int32_t escapement, int32_t x, int32_t y) {
  auto font = ce::fonts::Font::Open(SmallBold(escapement));
  std::vector<uint16_t> pixels(kWidth * kHeight, 0xFFFF);
  const ce::fonts::Surface surface{pixels.data(), kWidth, kHeight, kWidth * 2};
  const ce::RECT clip[] = {{0, 0, kWidth, kHeight}};
  for (auto _ : state) {
    font->Draw(surface, clip, x, y, kLine, 0x0000);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLine.size()));
}

void BM_DrawLine(benchmark::State& state) {
  Draw(state, 0, 2, 100);
}
BENCHMARK(BM_DrawLine);

void BM_DrawTurnedLine(benchmark::State& state) {
  Draw(state, 900, 100, 240);
}
BENCHMARK(BM_DrawTurnedLine);

void BM_MeasureLine(benchmark::State& state) {
  auto font = ce::fonts::Font::Open(SmallBold());
  for (auto _ : state) benchmark::DoNotOptimize(font->Advance(kLine));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(kLine.size()));
}
BENCHMARK(BM_MeasureLine);

void BM_OpenUsedFont(benchmark::State& state) {
  auto held = ce::fonts::Font::Open(SmallBold());
  for (auto _ : state) benchmark::DoNotOptimize(ce::fonts::Font::Open(SmallBold()));
}
BENCHMARK(BM_OpenUsedFont);

}  // namespace

BENCHMARK_MAIN();
