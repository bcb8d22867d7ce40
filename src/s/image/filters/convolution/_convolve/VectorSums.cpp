// The partial sums of a row with SSE2 and AVX2: each pair of taps is one 16-bit
// multiply-add (pmaddwd) on the two pixels' channels interleaved, so four pairs give
// the eight taps. Weights fit in 16 bits and the products and their sums in 32
// (|sum| < 8 x 32767 x 255 < 2^31), so the results equal the scalar sums exactly.
#include "s/image/filters/convolution/_convolve/Rows.h"

#ifdef PICTORVA_CONVOLVE_X86
#include <immintrin.h>

#include <cstring>

#define PICTORVA_AVX2 __attribute__((target("avx2")))

namespace s::image::filters::convolution::_convolve {

namespace {

// The tap pairs (first source, second source, first weight, second weight):
// (above-left, above), (above-right, centre), (right, below-left), (below, below-right).
struct TapPairs {
  const uint8_t* first[4];
  const uint8_t* second[4];
  int32_t weightPair[4];  // second weight << 16 | first weight (16 bits each)

  TapPairs(const uint8_t* above, const uint8_t* centre, const uint8_t* below, const int16_t* w) {
    const uint8_t* firsts[4] = {above - 4, above + 4, centre + 4, below};
    const uint8_t* seconds[4] = {above, centre, below - 4, below + 4};
    const int pairs[4][2] = {{0, 1}, {2, 4}, {5, 6}, {7, 8}};
    for (int p = 0; p < 4; ++p) {
      first[p] = firsts[p];
      second[p] = seconds[p];
      weightPair[p] = static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint16_t>(w[pairs[p][1]])) << 16) |
                                           static_cast<uint16_t>(w[pairs[p][0]]));
    }
  }
};

}  // namespace

void partialSumsSse2(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first, int end,
                     int width, const int16_t* w, int32_t* sums) {
  const TapPairs taps(above, centre, below, w);
  const __m128i zero = _mm_setzero_si128();
  __m128i weights[4];
  for (int p = 0; p < 4; ++p) weights[p] = _mm_set1_epi32(taps.weightPair[p]);
  int x = first;
  // Four pixels a step; the right-hand taps read 16 bytes from pixel x + 1, which
  // must end inside the row: x + 5 <= width.
  for (; x + 4 <= end && x + 5 <= width; x += 4, sums += 16) {
    __m128i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
    for (int p = 0; p < 4; ++p) {
      const __m128i u = _mm_loadu_si128(reinterpret_cast<const __m128i*>(taps.first[p] + 4 * x));
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(taps.second[p] + 4 * x));
      const __m128i uLow = _mm_unpacklo_epi8(u, zero), uHigh = _mm_unpackhi_epi8(u, zero);
      const __m128i vLow = _mm_unpacklo_epi8(v, zero), vHigh = _mm_unpackhi_epi8(v, zero);
      s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi16(uLow, vLow), weights[p]));
      s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi16(uLow, vLow), weights[p]));
      s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi16(uHigh, vHigh), weights[p]));
      s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi16(uHigh, vHigh), weights[p]));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums), s0);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 4), s1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 8), s2);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + 12), s3);
  }
  partialSumsScalar(above, centre, below, x, end, width, w, sums);
}

PICTORVA_AVX2 void partialSumsAvx2(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first,
                                   int end, int width, const int16_t* w, int32_t* sums) {
  const TapPairs taps(above, centre, below, w);
  const __m256i zero = _mm256_setzero_si256();
  __m256i weights[4];
  for (int p = 0; p < 4; ++p) weights[p] = _mm256_set1_epi32(taps.weightPair[p]);
  int x = first;
  // Eight pixels a step, reading 32 bytes from pixel x + 1: x + 9 <= width.
  for (; x + 8 <= end && x + 9 <= width; x += 8, sums += 32) {
    // The unpacks work within 128-bit lanes: s0 holds pixels 0 and 4, s1 pixels 1
    // and 5, s2 pixels 2 and 6, s3 pixels 3 and 7.
    __m256i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
    for (int p = 0; p < 4; ++p) {
      const __m256i u = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(taps.first[p] + 4 * x));
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(taps.second[p] + 4 * x));
      const __m256i uLow = _mm256_unpacklo_epi8(u, zero), uHigh = _mm256_unpackhi_epi8(u, zero);
      const __m256i vLow = _mm256_unpacklo_epi8(v, zero), vHigh = _mm256_unpackhi_epi8(v, zero);
      s0 = _mm256_add_epi32(s0, _mm256_madd_epi16(_mm256_unpacklo_epi16(uLow, vLow), weights[p]));
      s1 = _mm256_add_epi32(s1, _mm256_madd_epi16(_mm256_unpackhi_epi16(uLow, vLow), weights[p]));
      s2 = _mm256_add_epi32(s2, _mm256_madd_epi16(_mm256_unpacklo_epi16(uHigh, vHigh), weights[p]));
      s3 = _mm256_add_epi32(s3, _mm256_madd_epi16(_mm256_unpackhi_epi16(uHigh, vHigh), weights[p]));
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums), _mm256_permute2x128_si256(s0, s1, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + 8), _mm256_permute2x128_si256(s2, s3, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + 16), _mm256_permute2x128_si256(s0, s1, 0x31));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + 24), _mm256_permute2x128_si256(s2, s3, 0x31));
  }
  partialSumsSse2(above, centre, below, x, end, width, w, sums);
}

void finishRowSse2(const int32_t* sums, uint8_t* out, int count, const RowFinish& finish, int32_t* left) {
  // The left pixel's channels are below 256, so a 16-bit multiply-add against the
  // weight in each lane's low half is their product with it.
  const __m128i leftWeight = _mm_set1_epi32(finish.leftWeight & 0xFFFF);
  const __m128i zero = _mm_setzero_si128();
  const __m128i limit = _mm_set1_epi32(finish.limit);
  // The magic is below 2^25 and the clamped sums below 2^24: unsigned 32 x 32 -> 64
  // products of the even lanes, then of the odd ones moved down.
  const __m128i magic = _mm_set1_epi64x(static_cast<int64_t>(finish.magic));
  const __m128i shift = _mm_cvtsi32_si128(finish.shift);
  __m128i previous = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left));
  for (int i = 0; i < count; ++i, sums += 4, out += 4) {
    __m128i t = _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(sums)),
                              _mm_madd_epi16(previous, leftWeight));
    // Clamped to 0 .. limit.
    t = _mm_and_si128(t, _mm_cmpgt_epi32(t, zero));
    const __m128i over = _mm_cmpgt_epi32(t, limit);
    t = _mm_or_si128(_mm_and_si128(over, limit), _mm_andnot_si128(over, t));
    const __m128i even = _mm_srl_epi64(_mm_mul_epu32(t, magic), shift);
    const __m128i odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(t, 32), magic), shift);
    // Both quotients are below 256: the even ones fill their 64-bit lanes' low halves.
    previous = _mm_or_si128(even, _mm_slli_epi64(odd, 32));
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(previous, previous), zero);
    const int32_t pixel = _mm_cvtsi128_si32(bytes);
    std::memcpy(out, &pixel, 4);
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(left), previous);
}

}  // namespace s::image::filters::convolution::_convolve
#endif
