// Packed images: how fast our decoder turns every packed image back into pixels, against zlib's
// inflate on the same pixels compressed at level 9, and how small each coder makes them.
//
//   build/bench/bench_images [--benchmark_min_time=2]
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "gfx/codec/lz77.h"
#include "gfx/fast_bitmap.h"
#include "platform/resources.h"

namespace {

struct Image {
  uint32_t id = 0;
  std::span<const uint8_t> payload;
  std::vector<uint8_t> pixels;  // what the payload decodes to
  std::vector<uint8_t> zlib9;   // the same pixels, zlib level 9
};

const std::vector<Image>& Images() {
  static const std::vector<Image> images = [] {
    std::vector<Image> list;
    for (uint32_t id : ce::PackedImageIds()) {
      Image image;
      image.id = id;
      image.payload = ContainerPayload(*ce::FindCustomResource(u"KKK", id)).value();
      image.pixels = Lz77InflateReference(image.payload);
      uLongf size = compressBound(image.pixels.size());
      image.zlib9.resize(size);
      compress2(image.zlib9.data(), &size, image.pixels.data(), image.pixels.size(), 9);
      image.zlib9.resize(size);
      list.push_back(std::move(image));
    }
    return list;
  }();
  return images;
}

int64_t TotalPixelBytes() {
  int64_t total = 0;
  for (const Image& image : Images()) total += static_cast<int64_t>(image.pixels.size());
  return total;
}

// The decoder alone, from payload to pixels.
void BM_OurDecoder(benchmark::State& state) {
  std::vector<uint8_t> out(256 * 1024);
  for (auto _ : state) {
    for (const Image& image : Images()) {
      benchmark::DoNotOptimize(
          Lz77Inflate(image.payload, std::span(out).first(image.pixels.size())));
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalPixelBytes());
}
BENCHMARK(BM_OurDecoder);

// zlib inflating the same pixels, with one stream reset between images rather than set up anew.
void BM_ZlibInflate(benchmark::State& state) {
  std::vector<uint8_t> out(256 * 1024);
  z_stream stream{};
  inflateInit(&stream);
  for (auto _ : state) {
    for (const Image& image : Images()) {
      inflateReset(&stream);
      stream.next_in = const_cast<Bytef*>(image.zlib9.data());
      stream.avail_in = static_cast<uInt>(image.zlib9.size());
      stream.next_out = out.data();
      stream.avail_out = static_cast<uInt>(image.pixels.size());
      if (inflate(&stream, Z_FINISH) != Z_STREAM_END) state.SkipWithError("zlib failed");
      benchmark::ClobberMemory();
    }
  }
  inflateEnd(&stream);
  state.SetBytesProcessed(state.iterations() * TotalPixelBytes());
}
BENCHMARK(BM_ZlibInflate);

// What a screen pays: CFastBitmap::Load with its memory files and a fresh pixel block.
void BM_BitmapLoad(benchmark::State& state) {
  std::vector<std::u16string> names;
  for (const Image& image : Images()) {
    const std::string id = std::to_string(image.id);
    names.emplace_back(id.begin(), id.end());
  }
  CFastBitmap bitmap;
  for (auto _ : state) {
    for (size_t i = 0; i < Images().size(); ++i) {
      // One row of the image's byte size: the bitmap only needs its capacity.
      bitmap.Load(names[i].c_str(), static_cast<uint16_t>(Images()[i].pixels.size() / 2), 1);
      benchmark::ClobberMemory();
    }
  }
  state.SetBytesProcessed(state.iterations() * TotalPixelBytes());
}
BENCHMARK(BM_BitmapLoad);

// The packer's side: compressing every image.
void BM_OurEncoder(benchmark::State& state) {
  for (auto _ : state) {
    for (const Image& image : Images()) benchmark::DoNotOptimize(Lz77Encode(image.pixels));
  }
  state.SetBytesProcessed(state.iterations() * TotalPixelBytes());
}
BENCHMARK(BM_OurEncoder)->Unit(benchmark::kMillisecond);

// Shows the runs as usual and keeps their rates for the summary.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      auto it = run.counters.find("bytes_per_second");
      if (!run.error_occurred && it != run.counters.end()) {
        rates_[run.benchmark_name()] = it->second.value / 1e6;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Rate(const std::string& name) const {
    auto it = rates_.find(name);
    return it == rates_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, double> rates_;
};

void PrintSummary(const RateReporter& reporter) {
  std::printf("\nDecoding all %zu packed images (%lld bytes of pixels):\n", Images().size(),
              static_cast<long long>(TotalPixelBytes()));
  const double ours = reporter.Rate("BM_OurDecoder");
  const double zlib = reporter.Rate("BM_ZlibInflate");
  std::printf("  our LZ77 decoder     %9.1f MB/s\n", ours);
  std::printf("  zlib inflate (-9)    %9.1f MB/s\n", zlib);
  if (zlib > 0) std::printf("  ours / zlib          %9.2f\n", ours / zlib);
  std::printf("  CFastBitmap::Load    %9.1f MB/s\n", reporter.Rate("BM_BitmapLoad"));

  std::printf("\nCompressed sizes (bytes):\n  %5s %8s %8s %8s %7s\n", "id", "pixels", "ours",
              "zlib-9", "ours/z");
  size_t pixels = 0, ours_total = 0, zlib_total = 0;
  for (const Image& image : Images()) {
    std::printf(
        "  %5u %8zu %8zu %8zu %7.2f\n", image.id, image.pixels.size(), image.payload.size(),
        image.zlib9.size(),
        static_cast<double>(image.payload.size()) / static_cast<double>(image.zlib9.size()));
    pixels += image.pixels.size();
    ours_total += image.payload.size();
    zlib_total += image.zlib9.size();
  }
  std::printf("  %5s %8zu %8zu %8zu %7.2f\n", "all", pixels, ours_total, zlib_total,
              static_cast<double>(ours_total) / static_cast<double>(zlib_total));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintSummary(reporter);
  benchmark::Shutdown();
  return 0;
}
