// Octree colour reduction on a photo-like picture: smooth shading, a few soft shapes
// and sensor-like noise, so most pixels differ slightly from their neighbours.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "s/image/RasterView.h"
#include "s/image/filters/reduction/Quantizer.h"
#include "s/thread/Owned.h"

namespace {

using s::image::RasterView;
using s::image::filters::reduction::Quantizer;

std::vector<uint8_t> photoLike(int width, int height) {
  std::vector<uint8_t> bits(static_cast<size_t>(width) * height * 4);
  std::mt19937 rng(1234);
  std::normal_distribution<double> noise(0.0, 3.0);
  auto clamp = [](double v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = static_cast<double>(x) / width, v = static_cast<double>(y) / height;
      // Sky-to-ground shading, a warm blob and some ripples.
      const double blob = std::exp(-((u - 0.6) * (u - 0.6) + (v - 0.4) * (v - 0.4)) * 18.0);
      const double ripple = 20.0 * std::sin(u * 23.0 + v * 7.0) * std::cos(v * 17.0);
      uint8_t* p = bits.data() + (static_cast<size_t>(y) * width + x) * 4;
      p[0] = clamp(200 - 150 * v + ripple * 0.5 + noise(rng));                // blue
      p[1] = clamp(120 + 60 * u - 40 * v + 90 * blob + ripple + noise(rng));  // green
      p[2] = clamp(60 + 80 * v + 170 * blob + noise(rng));                    // red
      p[3] = 255;
    }
  }
  return bits;
}

struct Fixture {
  int width, height;
  std::vector<uint8_t> bits;
  RasterView view;
  Fixture(int w, int h) : width(w), height(h), bits(photoLike(w, h)), view(RasterView::packed(bits.data(), w, h)) {}
};

const Fixture& photo() {
  static const Fixture fixture(1000, 1000);
  return fixture;
}

void BM_BuildPalette256(benchmark::State& state) {
  const Fixture& f = photo();
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
  for (auto _ : state) {
    q->buildPalette(f.view, 256);
    benchmark::DoNotOptimize(q->getPalette()[0]);
  }
  state.SetItemsProcessed(state.iterations() * f.width * f.height);
}
BENCHMARK(BM_BuildPalette256)->Unit(benchmark::kMillisecond);

void BM_MapRows256(benchmark::State& state) {
  const Fixture& f = photo();
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
  q->buildPalette(f.view, 256);
  std::vector<uint8_t> indices(static_cast<size_t>(f.width));
  for (auto _ : state) {
    for (int y = 0; y < f.height; ++y) q->mapRow(f.view.row(y), f.width, indices.data(), 8);
    benchmark::DoNotOptimize(indices.data());
  }
  state.SetItemsProcessed(state.iterations() * f.width * f.height);
}
BENCHMARK(BM_MapRows256)->Unit(benchmark::kMillisecond);

// What one 8-bit thumbnail costs: a 150 x 150 cell, palette and mapping.
void BM_Thumbnail150(benchmark::State& state) {
  static const Fixture f(150, 150);
  std::vector<uint8_t> indices(static_cast<size_t>(f.width));
  for (auto _ : state) {
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(f.view, 255);
    for (int y = 0; y < f.height; ++y) q->mapRow(f.view.row(y), f.width, indices.data(), 8);
    benchmark::DoNotOptimize(indices.data());
  }
  state.SetItemsProcessed(state.iterations() * f.width * f.height);
}
BENCHMARK(BM_Thumbnail150)->Unit(benchmark::kMicrosecond);

}  // namespace
