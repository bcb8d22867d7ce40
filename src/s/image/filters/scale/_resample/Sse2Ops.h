#pragma once
// SSE2 building blocks shared by the SSE2 and AVX2 filters (x86 only). They are
// compiled for the baseline and inlined into either level.
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "s/image/filters/scale/_resample/PassTable.h"

namespace s::image::filters::scale::_resample::sse2 {

inline __m128i load4(const uint8_t* p) {
  int32_t value;
  std::memcpy(&value, p, 4);
  return _mm_cvtsi32_si128(value);
}

inline void store4(uint8_t* p, __m128i v) {
  int32_t value = _mm_cvtsi128_si32(v);
  std::memcpy(p, &value, 4);
}

inline __m128i loadBlock(const int16_t* block) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(block)); }

// (sum + 32768) >> 16 on each 32-bit lane, cut to 8 bits (as an unsigned byte cast
// does), then packed: four sums become the bytes of one pixel in the low lane.
inline __m128i roundSums(__m128i sums) {
  __m128i rounded = _mm_srli_epi32(_mm_add_epi32(sums, _mm_set1_epi32(32768)), 16);
  return _mm_and_si128(rounded, _mm_set1_epi32(0xFF));
}

inline __m128i packPixel(__m128i sums) {
  __m128i words = _mm_packs_epi32(roundSums(sums), _mm_setzero_si128());
  return _mm_packus_epi16(words, _mm_setzero_si128());
}

// 16 channel sums (four vectors of four) to 16 bytes in order.
inline __m128i packSixteen(__m128i s0, __m128i s1, __m128i s2, __m128i s3) {
  __m128i low = _mm_packs_epi32(roundSums(s0), roundSums(s1));
  __m128i high = _mm_packs_epi32(roundSums(s2), roundSums(s3));
  return _mm_packus_epi16(low, high);
}

// Horizontal taps of a kPaired entry from `start` (a multiple of 2) to the end,
// added to sums (b, g, r, a). Four taps at a time, then a pair, then a single tap;
// loads never go past the entry's last pixel.
inline __m128i pairedTail(const uint8_t* pixels, const int16_t* blocks, int start, int count, __m128i sums) {
  const __m128i zero = _mm_setzero_si128();
  int k = start;
  for (; k + 4 <= count; k += 4, blocks += 16) {
    __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + k * 4));
    // p0 p2 p1 p3, then the bytes of p0 and p1 interleaved, then those of p2 and p3.
    __m128i spread = _mm_shuffle_epi32(four, _MM_SHUFFLE(3, 1, 2, 0));
    __m128i paired = _mm_unpacklo_epi8(spread, _mm_unpackhi_epi64(spread, spread));
    sums = _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpacklo_epi8(paired, zero), loadBlock(blocks)));
    sums = _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpackhi_epi8(paired, zero), loadBlock(blocks + 8)));
  }
  if (k + 2 <= count) {
    __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels + k * 4));
    __m128i paired = _mm_unpacklo_epi8(two, _mm_srli_si128(two, 4));
    sums = _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpacklo_epi8(paired, zero), loadBlock(blocks)));
    k += 2;
    blocks += 8;
  }
  if (k < count) {
    // b 0 g 0 r 0 a 0 against the block w 0 w 0 ...
    __m128i one = _mm_unpacklo_epi8(load4(pixels + k * 4), zero);
    sums = _mm_add_epi32(sums, _mm_madd_epi16(_mm_unpacklo_epi16(one, zero), loadBlock(blocks)));
  }
  return sums;
}

// Horizontal taps of a kWide entry (weights up to 65535): exact 32-bit products from
// the low and high halves of unsigned 16 x 16 multiplications.
inline __m128i wideTaps(const uint8_t* pixels, const int32_t* weights, int count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero;
  int k = 0;
  for (; k + 2 <= count; k += 2) {
    __m128i values = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels + k * 4)), zero);
    __m128i w = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<int16_t>(weights[k])),
                                   _mm_set1_epi16(static_cast<int16_t>(weights[k + 1])));
    __m128i low = _mm_mullo_epi16(values, w);
    __m128i high = _mm_mulhi_epu16(values, w);
    sums = _mm_add_epi32(sums, _mm_unpacklo_epi16(low, high));
    sums = _mm_add_epi32(sums, _mm_unpackhi_epi16(low, high));
  }
  if (k < count) {
    __m128i values = _mm_unpacklo_epi8(load4(pixels + k * 4), zero);
    __m128i w = _mm_set1_epi16(static_cast<int16_t>(weights[k]));
    sums = _mm_add_epi32(sums, _mm_unpacklo_epi16(_mm_mullo_epi16(values, w), _mm_mulhi_epu16(values, w)));
  }
  return sums;
}

// Vertical: 16 bytes (four pixels) at byte offset x of an output row, paired rows.
inline __m128i pairedColumns16(const uint8_t* top, ptrdiff_t stride, const int16_t* blocks, int count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
  for (int k = 0; k < count; k += 2, blocks += 8, top += 2 * stride) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top));
    __m128i b = k + 1 < count ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + stride)) : zero;
    __m128i w = loadBlock(blocks);
    __m128i low = _mm_unpacklo_epi8(a, b);   // a0 b0 a1 b1 ... a7 b7
    __m128i high = _mm_unpackhi_epi8(a, b);  // a8 b8 ... a15 b15
    s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi8(low, zero), w));
    s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi8(low, zero), w));
    s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi8(high, zero), w));
    s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi8(high, zero), w));
  }
  return packSixteen(s0, s1, s2, s3);
}

// Vertical: 16 bytes, one row at a time with wide weights.
inline __m128i wideColumns16(const uint8_t* top, ptrdiff_t stride, const int32_t* weights, int count) {
  const __m128i zero = _mm_setzero_si128();
  __m128i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
  for (int k = 0; k < count; ++k, top += stride) {
    __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top));
    __m128i w = _mm_set1_epi16(static_cast<int16_t>(weights[k]));
    __m128i lowValues = _mm_unpacklo_epi8(a, zero);
    __m128i highValues = _mm_unpackhi_epi8(a, zero);
    __m128i lowLow = _mm_mullo_epi16(lowValues, w), lowHigh = _mm_mulhi_epu16(lowValues, w);
    __m128i highLow = _mm_mullo_epi16(highValues, w), highHigh = _mm_mulhi_epu16(highValues, w);
    s0 = _mm_add_epi32(s0, _mm_unpacklo_epi16(lowLow, lowHigh));
    s1 = _mm_add_epi32(s1, _mm_unpackhi_epi16(lowLow, lowHigh));
    s2 = _mm_add_epi32(s2, _mm_unpacklo_epi16(highLow, highHigh));
    s3 = _mm_add_epi32(s3, _mm_unpackhi_epi16(highLow, highHigh));
  }
  return packSixteen(s0, s1, s2, s3);
}

}  // namespace s::image::filters::scale::_resample::sse2
