// The faster path for kernels whose sums cannot overflow: partial sums by row chunks,
// then one pass along the row that adds the left tap, the only one that depends on
// this pass's own output; both with vector instructions (x86 processors only).
#include <cstdlib>

#include "s/image/filters/convolution/_convolve/Rows.h"
#include "s/image/filters/VectorLevel.h"

#ifdef PICTORVA_CONVOLVE_X86
namespace s::image::filters::convolution::_convolve {

namespace {


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

  explicit Reciprocal(uint32_t divisor) {
    int bits = 0;
    while ((uint32_t{1} << bits) < divisor) ++bits;
    shift = 8 + 2 * bits;
    magic = ((uint64_t{1} << shift) + divisor - 1) / divisor;
  }
};

PartialSums partialSumsFor(VectorLevel level) {
  return level == VectorLevel::kAvx2 ? partialSumsAvx2 : partialSumsSse2;
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
  const VectorLevel level = activeLevel();
  const PartialSums partialSums = partialSumsFor(level);

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
      finishRowSse2(sums, centre + 4 * first, end - first, finish, left);
    }
    filterPixel(rows, width, height, width - 1, y, kernel);
  }
  for (int x = 0; x < width; ++x) filterPixel(rows, width, height, x, height - 1, kernel);
}

}  // namespace s::image::filters::convolution::_convolve
#endif
