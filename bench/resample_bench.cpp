// Shrinking a 6000 x 4000 picture to a 150 x 100 thumbnail with the bilinear kernel,
// beside decoding the same picture from a quality-90 JPEG with libjpeg: the thumbnail
// should cost at most half the decode. The shrink runs on the scalar reference and on
// each vector level the processor offers (SSE2, AVX2).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "s/image/RasterView.h"
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/filters/VectorLevel.h"

namespace {

using s::image::RasterView;
using s::image::filters::scale::ScaleFilter;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kThumbWidth = 150;
constexpr int kThumbHeight = 100;

// A photo-like picture: broad smooth gradients, a few soft blobs and grain, so that the
// JPEG has the size and entropy of a real photograph. BGRA, opaque.
struct Picture {
  std::vector<uint8_t> bgra;
  std::vector<uint8_t> jpeg;

  Picture() {
    bgra.resize(static_cast<size_t>(kWidth) * kHeight * 4);
    uint32_t state = 2463534242u;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* row = view().row(y);
      for (int x = 0; x < kWidth; ++x) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        const int grain = static_cast<int>(state & 15) - 8;
        const int dx = x - 2000, dy = y - 1500;
        const int blob = (dx * dx + dy * dy) < 1'000'000 ? 40 : 0;
        const int r = 40 + x * 160 / kWidth + blob + grain;
        const int g = 60 + y * 140 / kHeight + ((x / 400 + y / 300) % 2) * 20 + grain;
        const int b = 200 - (x + y) * 150 / (kWidth + kHeight) + grain;
        auto clamp = [](int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); };
        uint8_t* p = row + static_cast<size_t>(x) * 4;
        p[0] = clamp(b);
        p[1] = clamp(g);
        p[2] = clamp(r);
        p[3] = 255;
      }
    }
    encode();
  }

  void encode() {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    cinfo.image_width = kWidth;
    cinfo.image_height = kHeight;
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = view().row(static_cast<int>(cinfo.next_scanline));
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg.assign(out, out + outSize);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
  }

  // Stored as the pixel image stores it: bottom-up rows.
  RasterView view() { return RasterView::packed(bgra.data(), kWidth, kHeight); }
};

Picture& picture() {
  static Picture shared;
  return shared;
}

void decodeJpeg(benchmark::State& state) {
  Picture& source = picture();
  std::vector<uint8_t> pixels(static_cast<size_t>(kWidth) * kHeight * 4);
  for (auto _ : state) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, source.jpeg.data(), static_cast<unsigned long>(source.jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) * kWidth * 4;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["jpeg_bytes"] = static_cast<double>(source.jpeg.size());
}

using s::image::filters::VectorLevel;

void shrink(benchmark::State& state, VectorLevel level) {
  Picture& source = picture();
  if (static_cast<int>(s::image::filters::detectedLevel()) < static_cast<int>(level)) {
    state.SkipWithError("not supported by this processor");
    return;
  }
  s::image::filters::setLevelCeiling(level);
  std::vector<uint8_t> thumb(static_cast<size_t>(kThumbWidth) * kThumbHeight * 4);
  RasterView output = RasterView::packed(thumb.data(), kThumbWidth, kThumbHeight);
  const auto& kernel = ScaleFilter::sharedKernel(s::image::filters::scale::kKernelBilinear);
  for (auto _ : state) {
    if (!ScaleFilter::resampleInto(source.view(), output, kernel)) state.SkipWithError("resampling refused");
    benchmark::DoNotOptimize(thumb.data());
  }
  s::image::filters::setLevelCeiling(VectorLevel::kAvx2);
}

void shrinkScalar(benchmark::State& state) { shrink(state, VectorLevel::kScalar); }
void shrinkSse2(benchmark::State& state) { shrink(state, VectorLevel::kSse2); }
void shrinkAvx2(benchmark::State& state) { shrink(state, VectorLevel::kAvx2); }

BENCHMARK(decodeJpeg)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(shrinkScalar)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(shrinkSse2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(shrinkAvx2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
