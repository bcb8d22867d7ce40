// LZW throughput of GifLzw against giflib on the same pictures, in MB/s of pixels
// (one byte per pixel). Decoding reads the same giflib-written files with both
// decoders; our side includes gathering the sub-blocks, as a GIF reader must.
// Every decode is checked against the source pixels once before timing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "../tests/image/gif/win/LzwTestSupport.h"
#include "s/image/gif/win/GifLzw.h"
#if defined(PICTORVA_HAVE_GIFLIB) && __has_include(<gif_lib.h>)
#define LZW_BENCH_GIFLIB 1
#include "../tests/image/gif/win/GiflibPeer.h"
#endif

namespace {

using lzwtest::Bytes;
using s::image::gif::win::GifLzw;
using s::image::gif::win::GifLzwDecodeStatus;
using s::image::gif::win::GifLzwSource;
using s::image::gif::win::GifLzwTarget;

constexpr int kSide = 1000;

struct Picture {
  const char* name;
  Bytes pixels;  // kSide x kSide indices
};

// A dithered photograph: smooth shapes with noise, so the index changes at almost
// every pixel, as after error diffusion to 256 colours.
Picture photoLike() {
  Picture picture{"photo", Bytes(kSide * kSide)};
  std::mt19937 random(1);
  std::uniform_int_distribution<int> noise(-6, 6);
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      double shade = 128 + 60 * std::sin(x / 90.0) * std::cos(y / 130.0) + (x + y) / 20.0;
      picture.pixels[y * kSide + x] = static_cast<uint8_t>((static_cast<int>(shade) + noise(random)) & 0xFF);
    }
  }
  return picture;
}

// A screenshot: flat background, window frames, bars and rows of small glyphs in a
// handful of colours.
Picture screenLike() {
  Picture picture{"screen", Bytes(kSide * kSide, 7)};
  std::mt19937 random(2);
  auto fill = [&picture](int left, int top, int right, int bottom, uint8_t colour) {
    for (int y = top; y < bottom && y < kSide; ++y)
      for (int x = left; x < right && x < kSide; ++x) picture.pixels[y * kSide + x] = colour;
  };
  fill(0, 0, kSide, 30, 3);          // title bar
  fill(0, kSide - 40, kSide, kSide, 4);  // task bar
  fill(60, 80, 940, 900, 15);        // window
  fill(60, 80, 940, 110, 2);
  fill(80, 130, 300, 880, 12);       // side panel
  std::uniform_int_distribution<int> glyph(0, 255);
  for (int line = 0; line < 48; ++line) {
    const int top = 140 + line * 15;
    for (int column = 0; column < 75; ++column) {
      const int bits = glyph(random);
      const int left = 320 + column * 8;
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 6; ++x)
          if ((bits >> ((x + y * 3) & 7)) & 1) picture.pixels[(top + y) * kSide + left + x] = 0;
    }
  }
  return picture;
}

const Picture& picture(int which) {
  static const Picture pictures[2] = {photoLike(), screenLike()};
  return pictures[which];
}

[[maybe_unused]] Bytes oursEncoded(const Picture& source) {
  return lzwtest::encodeBlocks(8, GifLzwSource{source.pixels.data(), kSide, kSide, kSide});
}

void setCounters(benchmark::State& state, size_t compressedBytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kSide * kSide);
  state.SetLabel(picture(static_cast<int>(state.range(0))).name);
  state.counters["compressed_KB"] = static_cast<double>(compressedBytes) / 1024.0;
}

#ifdef LZW_BENCH_GIFLIB
const Bytes& giflibFile(int which) {
  static const Bytes files[2] = {giflibpeer::encode(picture(0).pixels.data(), kSide, kSide, 8),
                                 giflibpeer::encode(picture(1).pixels.data(), kSide, kSide, 8)};
  return files[which];
}
#endif

// The compressed stream both decoders read: giflib's where present.
Bytes streamFor(int which, int* codeSize, Bytes* data) {
#ifdef LZW_BENCH_GIFLIB
  giflibpeer::imageData(giflibFile(which), codeSize, data);
  return giflibFile(which);
#else
  *codeSize = 8;
  lzwtest::gatherSubBlocks(oursEncoded(picture(which)), data);
  return oursEncoded(picture(which));
#endif
}

void BM_DecodeGifLzw(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  int codeSize = 0;
  Bytes data;
  const Bytes file = streamFor(which, &codeSize, &data);
  Bytes frame(kSide * kSide);
  const GifLzwTarget target{frame.data(), kSide, kSide, kSide, false};
  if (GifLzw::decode(codeSize, data.data(), data.size(), target).status != GifLzwDecodeStatus::kComplete ||
      frame != picture(which).pixels) {
    state.SkipWithError("GifLzw decodes the stream wrongly");
    return;
  }
  for (auto _ : state) {
#ifdef LZW_BENCH_GIFLIB
    giflibpeer::imageData(file, &codeSize, &data);  // gathering the sub-blocks is part of decoding
#endif
    auto result = GifLzw::decode(codeSize, data.data(), data.size(), target);
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(frame.data());
  }
  setCounters(state, data.size());
}

void BM_EncodeGifLzw(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const Picture& source = picture(which);
  GifLzw* lzw = GifLzw::create();
  lzwtest::MemoryOutput out;
  out.bytes.reserve(2 * kSide * kSide);
  for (auto _ : state) {
    out.bytes.clear();
    if (lzw->encode(8, GifLzwSource{source.pixels.data(), kSide, kSide, kSide}, out) !=
        s::image::gif::win::GifLzwEncodeStatus::kOk) {
      state.SkipWithError("encoding failed");
      break;
    }
    benchmark::DoNotOptimize(out.bytes.data());
  }
  lzw->release();
  Bytes data;
  lzwtest::gatherSubBlocks(out.bytes, &data);
  setCounters(state, data.size());
#ifdef LZW_BENCH_GIFLIB
  // Checked once: giflib reads our stream back to the source pixels.
  Bytes decoded;
  if (!giflibpeer::decode(giflibpeer::wrap(8, out.bytes, kSide, kSide), &decoded) || decoded != source.pixels) {
    state.SkipWithError("giflib does not read our stream back to the source");
  }
#endif
}

BENCHMARK(BM_DecodeGifLzw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeGifLzw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

#ifdef LZW_BENCH_GIFLIB
void BM_DecodeGiflib(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const Bytes& file = giflibFile(which);
  Bytes decoded;
  if (!giflibpeer::decode(file, &decoded) || decoded != picture(which).pixels) {
    state.SkipWithError("giflib decodes its own stream wrongly");
    return;
  }
  for (auto _ : state) {
    giflibpeer::decode(file, &decoded);  // DGifOpen, the descriptor and one DGifGetLine per row
    benchmark::DoNotOptimize(decoded.data());
  }
  int codeSize = 0;
  Bytes data;
  giflibpeer::imageData(file, &codeSize, &data);
  setCounters(state, data.size());
}

void BM_EncodeGiflib(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const Picture& source = picture(which);
  Bytes file;
  for (auto _ : state) {
    file = giflibpeer::encode(source.pixels.data(), kSide, kSide, 8);  // EGifPutLine per row
    benchmark::DoNotOptimize(file.data());
  }
  int codeSize = 0;
  Bytes data;
  giflibpeer::imageData(file, &codeSize, &data);
  setCounters(state, data.size());
}

BENCHMARK(BM_DecodeGiflib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeGiflib)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
