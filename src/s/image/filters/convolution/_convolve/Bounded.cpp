// The faster path for kernels whose sums cannot overflow: partial sums by row chunks,
// then one pass along the row that adds the left tap, the only one that depends on
// this pass's own output; both with vector instructions where the processor has them.
#include <cstdlib>

#include "s/image/filters/convolution/_convolve/Rows.h"
#include "s/image/filters/scale/_resample/VectorLevel.h"

namespace s::image::filters::convolution::_convolve {

namespace {

using scale::_resample::VectorLevel;

// Pixels per chunk: the partial sums of a chunk (16 bytes a pixel) stay in the
// first-level cache until the row pass reads them.
constexpr int kChunk = 256;

// floor(t / d) for 0 <= t <= 255 d as (t x magic) >> shift, with d in 1..65535.
//
// With L = ceil(log2 d), shift = 8 + 2L and magic = ceil(2^shift / d) = (2^shift + e)
// / d where 0 <= e < d. For t = q d + r (0 <= r < d), t x magic / 2^shift = q + (r +
// t e / 2^shift) / d, and t e < 255 d^2 <= 255 x 2^2L < 2^shift, so the fraction stays
// below 1 and the floor is q. magic < 2^(9 + L) <= 2^25 and t < 2^24: the product
// fits in 64 bits.
struct Reciprocal {
  uint64_t magic;
  int shift;

  Reciprocal(uint64_t magic_, int shift_) : magic(magic_), shift(shift_) {}
  explicit Reciprocal(uint32_t divisor) {
    int bits = 0;
    while ((uint32_t{1} << bits) < divisor) ++bits;
    shift = 8 + 2 * bits;
    magic = ((uint64_t{1} << shift) + divisor - 1) / divisor;
  }
  uint32_t divide(uint32_t t) const { return static_cast<uint32_t>((t * magic) >> shift); }
};

FinishRow finishRowFor(VectorLevel level) {
#ifdef PICTORVA_CONVOLVE_X86
  if (level != VectorLevel::kScalar) return finishRowSse2;
#else
  (void)level;
#endif
  return finishRowScalar;
}

PartialSums partialSumsFor(VectorLevel level) {
#ifdef PICTORVA_CONVOLVE_X86
  if (level == VectorLevel::kAvx2) return partialSumsAvx2;
  if (level == VectorLevel::kSse2) return partialSumsSse2;
#else
  (void)level;
#endif
  return partialSumsScalar;
}

}  // namespace

void partialSumsScalar(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first, int end, int,
                       const int16_t* w, int32_t* sums) {
  for (int x = first; x < end; ++x, sums += 4) {
    const uint8_t* a = above + 4 * x;
    const uint8_t* c = centre + 4 * x;
    const uint8_t* b = below + 4 * x;
    for (int k = 0; k < 4; ++k) {
      sums[k] = w[0] * a[k - 4] + w[1] * a[k] + w[2] * a[k + 4] + w[4] * c[k] + w[5] * c[k + 4] +
                w[6] * b[k - 4] + w[7] * b[k] + w[8] * b[k + 4];
    }
  }
}

void finishRowScalar(const int32_t* sums, uint8_t* out, int count, const RowFinish& finish, int32_t* left) {
  const Reciprocal reciprocal(finish.magic, finish.shift);
  for (int i = 0; i < count; ++i, sums += 4, out += 4) {
    for (int k = 0; k < 4; ++k) {
      // |sum| < 9 x 32767 x 255 < 2^31: no overflow. Truncating toward zero and
      // clamping to 0..255 is clamping the sum to 0..255 x divisor and flooring.
      int32_t t = sums[k] + finish.leftWeight * left[k];
      t = t < 0 ? 0 : (t > finish.limit ? finish.limit : t);
      left[k] = static_cast<int32_t>(reciprocal.divide(static_cast<uint32_t>(t)));
      out[k] = static_cast<uint8_t>(left[k]);
    }
  }
}

void filterBounded(uint8_t* const* rows, int width, int height, const Kernel& kernel) {
  // Dividing by a negative divisor is dividing the negated sum by its magnitude: the
  // sign goes into the weights, so every sum below is divided by a positive number.
  const int32_t divisor = kernel.divisor == 0 ? 1 : kernel.divisor;
  const int sign = divisor < 0 ? -1 : 1;
  const uint32_t magnitude = static_cast<uint32_t>(std::abs(divisor));
  int16_t weights[9];
  for (int t = 0; t < 9; ++t) weights[t] = static_cast<int16_t>(sign * kernel.weights[t]);
  const Reciprocal reciprocal(magnitude);
  const RowFinish finish{weights[3], static_cast<int32_t>(255 * magnitude), reciprocal.magic, reciprocal.shift};
  const VectorLevel level = scale::_resample::activeLevel();
  const PartialSums partialSums = partialSumsFor(level);
  const FinishRow finishRow = finishRowFor(level);

  // The top and bottom rows read the row itself in place of a missing neighbour, part
  // of it already filtered: the reference does them, and the first and last pixel of
  // every row.
  for (int x = 0; x < width; ++x) filterPixel(rows, width, height, x, 0, kernel);
  int32_t sums[kChunk * 4];
  for (int y = 1; y < height - 1; ++y) {
    filterPixel(rows, width, height, 0, y, kernel);
    uint8_t* centre = rows[y];
    int32_t left[4] = {centre[0], centre[1], centre[2], centre[3]};
    for (int first = 1; first < width - 1; first += kChunk) {
      const int end = first + kChunk < width - 1 ? first + kChunk : width - 1;
      // The chunk's centre pixels and their right neighbours are still unfiltered.
      partialSums(rows[y - 1], centre, rows[y + 1], first, end, width, weights, sums);
      finishRow(sums, centre + 4 * first, end - first, finish, left);
    }
    filterPixel(rows, width, height, width - 1, y, kernel);
  }
  for (int x = 0; x < width; ++x) filterPixel(rows, width, height, x, height - 1, kernel);
}

}  // namespace s::image::filters::convolution::_convolve
