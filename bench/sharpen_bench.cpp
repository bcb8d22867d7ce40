// Sharpening a 24-megapixel picture (6000 x 4000) at strength 80, the printing
// strength: on the scalar reference and on each vector level the processor offers.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "s/image/filters/convolution/Convolution.h"
#include "s/image/filters/VectorLevel.h"
#include "s/image/filters/sharpness/Sharpness.h"
#include "s/thread/Owned.h"

namespace {

using s::image::filters::convolution::Convolution;
using s::image::filters::sharpness::Sharpness;
namespace level = s::image::filters;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A photo-like picture: gradients with grain.
struct Picture {
  std::vector<uint8_t> source;
  std::vector<uint8_t> work;
  std::vector<uint8_t*> rows;

  Picture() : source(static_cast<size_t>(kWidth) * kHeight * 4), work(source.size()) {
    uint32_t state = 2463534242u;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        uint8_t* p = &source[(static_cast<size_t>(y) * kWidth + x) * 4];
        const int grain = static_cast<int>(state & 15);
        p[0] = static_cast<uint8_t>(200 - (x + y) * 150 / (kWidth + kHeight) + grain);
        p[1] = static_cast<uint8_t>(60 + y * 140 / kHeight + grain);
        p[2] = static_cast<uint8_t>(40 + x * 160 / kWidth + grain);
        p[3] = 255;
      }
    for (int y = 0; y < kHeight; ++y) rows.push_back(&work[static_cast<size_t>(y) * kWidth * 4]);
  }
};

Picture& picture() {
  static Picture shared;
  return shared;
}

void sharpen(benchmark::State& state, level::VectorLevel cap) {
  if (static_cast<int>(cap) > static_cast<int>(level::detectedLevel())) {
    state.SkipWithError("this processor lacks the level");
    return;
  }
  const level::VectorLevel saved = level::getLevelCeiling();
  level::setLevelCeiling(cap);
  Picture& p = picture();
  int32_t weights[9];
  Sharpness::kernelFor(80, weights);
  s::thread::Owned<Convolution> kernel(Convolution::create());
  kernel->setWeights(weights);
  for (auto _ : state) {
    state.PauseTiming();
    p.work = p.source;
    state.ResumeTiming();
    kernel->convolve(p.rows.data(), kWidth, kHeight);
    benchmark::DoNotOptimize(p.work.data());
  }
  level::setLevelCeiling(saved);
  state.SetItemsProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

BENCHMARK_CAPTURE(sharpen, scalar, level::VectorLevel::kScalar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(sharpen, sse2, level::VectorLevel::kSse2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(sharpen, avx2, level::VectorLevel::kAvx2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
