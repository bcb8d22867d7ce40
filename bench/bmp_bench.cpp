// The BMP codec on a 24-megapixel picture: turning a 24-bit raster into the 32-bit
// pixel image, and writing a 24-bit file into memory.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "s/col/_array/ArrayU08.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace {

using s::image::bmp::win::Bitmap;
using s::image::win::BufferedImage;
using s::thread::Owned;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

// A 24-bit raster with smooth colour and a little noise.
Owned<Bitmap> makeRaster() {
  Owned<Bitmap> raster(Bitmap::create());
  raster->create(kWidth, kHeight, 24);
  uint32_t noise = 1;
  for (int y = 0; y < kHeight; ++y) {
    uint8_t* row = raster->getRow(y);
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1664525u + 1013904223u;
      row[x * 3 + 0] = static_cast<uint8_t>(x * 255 / kWidth);
      row[x * 3 + 1] = static_cast<uint8_t>(y * 255 / kHeight);
      row[x * 3 + 2] = static_cast<uint8_t>((noise >> 24) & 0x1F);
    }
  }
  return raster;
}

void BM_ToBufferedImage24(benchmark::State& state) {
  Owned<Bitmap> raster = makeRaster();
  for (auto _ : state) {
    Owned<BufferedImage> image(raster->toBufferedImage(0, nullptr));
    benchmark::DoNotOptimize(image.get());
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 3);
}
BENCHMARK(BM_ToBufferedImage24)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Write24(benchmark::State& state) {
  Owned<Bitmap> raster = makeRaster();
  Owned<s::col::_array::ArrayU08> file(s::col::_array::ArrayU08::create());
  for (auto _ : state) {
    file->clear();
    benchmark::DoNotOptimize(raster->write(*file));
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 3);
}
BENCHMARK(BM_Write24)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
