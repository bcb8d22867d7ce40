#include "s/image/filters/scale/_resample/Passes.h"

#ifdef PICTORVA_RESAMPLE_X86
#include <immintrin.h>

#include <cstring>

#include "s/image/filters/scale/_resample/Sse2Ops.h"

// Compiled for AVX2 through function attributes, so the rest of the program keeps
// the baseline; these run only when the processor reports AVX2.
#define PICTORVA_AVX2 __attribute__((target("avx2")))

namespace s::image::filters::scale::_resample {
namespace {

// Eight taps of a kPaired entry per step. The four 8-byte pixel pairs are reordered
// to (p0 p1)(p4 p5) | (p2 p3)(p6 p7) so that, after the in-lane byte interleave, the
// low unpack holds pairs (p0 p1 | p2 p3) and the high one (p4 p5 | p6 p7): the weight
// blocks 0-1 and 2-3 then load as two contiguous 32-byte vectors.
PICTORVA_AVX2 inline __m128i pairedTaps(const uint8_t* pixels, const int16_t* blocks, int count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i interleave = _mm256_setr_epi8(0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15,  //
                                              0, 4, 1, 5, 2, 6, 3, 7, 8, 12, 9, 13, 10, 14, 11, 15);
  __m256i sums = zero;
  int k = 0;
  for (; k + 8 <= count; k += 8, blocks += 32) {
    __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels + k * 4));
    eight = _mm256_permute4x64_epi64(eight, _MM_SHUFFLE(3, 1, 2, 0));
    __m256i paired = _mm256_shuffle_epi8(eight, interleave);
    __m256i w01 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks));
    __m256i w23 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(blocks + 16));
    sums = _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_unpacklo_epi8(paired, zero), w01));
    sums = _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_unpackhi_epi8(paired, zero), w23));
  }
  __m128i folded = _mm_add_epi32(_mm256_castsi256_si128(sums), _mm256_extracti128_si256(sums, 1));
  return sse2::pairedTail(pixels, blocks, k, count, folded);
}

PICTORVA_AVX2 inline __m256i roundSums(__m256i sums) {
  __m256i rounded = _mm256_srli_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(32768)), 16);
  return _mm256_and_si256(rounded, _mm256_set1_epi32(0xFF));
}

// The sums come from in-lane unpacks, and the in-lane packs undo them: the 32 bytes
// come out in order.
PICTORVA_AVX2 inline __m256i packThirtyTwo(__m256i s0, __m256i s1, __m256i s2, __m256i s3) {
  __m256i low = _mm256_packs_epi32(roundSums(s0), roundSums(s1));
  __m256i high = _mm256_packs_epi32(roundSums(s2), roundSums(s3));
  return _mm256_packus_epi16(low, high);
}

PICTORVA_AVX2 inline __m256i pairedColumns32(const uint8_t* top, ptrdiff_t stride, const int16_t* blocks, int count) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
  for (int k = 0; k < count; k += 2, blocks += 8, top += 2 * stride) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top));
    __m256i b = k + 1 < count ? _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top + stride)) : zero;
    __m256i w = _mm256_broadcastsi128_si256(sse2::loadBlock(blocks));
    __m256i low = _mm256_unpacklo_epi8(a, b);
    __m256i high = _mm256_unpackhi_epi8(a, b);
    s0 = _mm256_add_epi32(s0, _mm256_madd_epi16(_mm256_unpacklo_epi8(low, zero), w));
    s1 = _mm256_add_epi32(s1, _mm256_madd_epi16(_mm256_unpackhi_epi8(low, zero), w));
    s2 = _mm256_add_epi32(s2, _mm256_madd_epi16(_mm256_unpacklo_epi8(high, zero), w));
    s3 = _mm256_add_epi32(s3, _mm256_madd_epi16(_mm256_unpackhi_epi8(high, zero), w));
  }
  return packThirtyTwo(s0, s1, s2, s3);
}

PICTORVA_AVX2 inline __m256i wideColumns32(const uint8_t* top, ptrdiff_t stride, const int32_t* weights, int count) {
  const __m256i zero = _mm256_setzero_si256();
  __m256i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
  for (int k = 0; k < count; ++k, top += stride) {
    __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(top));
    __m256i w = _mm256_set1_epi16(static_cast<int16_t>(weights[k]));
    __m256i lowValues = _mm256_unpacklo_epi8(a, zero);
    __m256i highValues = _mm256_unpackhi_epi8(a, zero);
    __m256i lowLow = _mm256_mullo_epi16(lowValues, w), lowHigh = _mm256_mulhi_epu16(lowValues, w);
    __m256i highLow = _mm256_mullo_epi16(highValues, w), highHigh = _mm256_mulhi_epu16(highValues, w);
    s0 = _mm256_add_epi32(s0, _mm256_unpacklo_epi16(lowLow, lowHigh));
    s1 = _mm256_add_epi32(s1, _mm256_unpackhi_epi16(lowLow, lowHigh));
    s2 = _mm256_add_epi32(s2, _mm256_unpacklo_epi16(highLow, highHigh));
    s3 = _mm256_add_epi32(s3, _mm256_unpackhi_epi16(highLow, highHigh));
  }
  return packThirtyTwo(s0, s1, s2, s3);
}

}  // namespace

PICTORVA_AVX2 void filterRowAvx2(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable& pass) {
  const int n = table.getEntryCount();
  for (int i = 0; i < n; ++i, out += 4) {
    const PassEntry& e = pass.entry(i);
    const uint8_t* pixels = in + static_cast<ptrdiff_t>(e.first) * 4;
    switch (e.kind) {
      case EntryKind::kCopy:
        std::memcpy(out, pixels, 4);
        break;
      case EntryKind::kPaired:
        sse2::store4(out, sse2::packPixel(pairedTaps(pixels, pass.pairs(e), e.count)));
        break;
      case EntryKind::kWide:
        sse2::store4(out, sse2::packPixel(sse2::wideTaps(pixels, table.weights(i), e.count)));
        break;
      case EntryKind::kScalar:
        filterPixelScalar(in, out, table, i);
        break;
    }
  }
}

PICTORVA_AVX2 void filterColumnsAvx2(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width,
                                     const Contribution& table, const PassTable& pass, int index) {
  const PassEntry& e = pass.entry(index);
  const size_t bytes = static_cast<size_t>(width) * 4;
  const uint8_t* top = buffer + static_cast<ptrdiff_t>(e.first) * stride;
  if (e.kind == EntryKind::kCopy) {
    std::memcpy(out, top, bytes);
    return;
  }
  size_t x = 0;
  if (e.kind == EntryKind::kPaired) {
    for (; x + 32 <= bytes; x += 32) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), pairedColumns32(top + x, stride, pass.pairs(e), e.count));
    }
    for (; x + 16 <= bytes; x += 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), sse2::pairedColumns16(top + x, stride, pass.pairs(e), e.count));
    }
  } else if (e.kind == EntryKind::kWide) {
    for (; x + 32 <= bytes; x += 32) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + x), wideColumns32(top + x, stride, table.weights(index), e.count));
    }
    for (; x + 16 <= bytes; x += 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), sse2::wideColumns16(top + x, stride, table.weights(index), e.count));
    }
  }
  if (x < bytes) filterBytesScalar(buffer, stride, out, x, bytes - x, table, index);
}

}  // namespace s::image::filters::scale::_resample
#endif
