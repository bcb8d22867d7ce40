#pragma once
// The passes behind Convolution::convolve. See Convolution.h for the rules they keep.
#include <cstddef>
#include <cstdint>

namespace s::image::filters::convolution::_convolve {

struct Kernel {
  int32_t weights[9];
  int32_t divisor;  // 0 is taken as 1
};

// The reference: one pixel, reading the picture as it is now (taps outside read the
// nearest pixel inside), and the whole picture pixel by pixel.
void filterPixel(uint8_t* const* rows, int width, int height, int x, int y, const Kernel& kernel);
void filterReference(uint8_t* const* rows, int width, int height, const Kernel& kernel);

#if defined(__x86_64__) || defined(__i386__)
#define PICTORVA_CONVOLVE_X86 1

// The faster path for kernels with bounded sums (every weight within +-32767, divisor
// within +-65535) and pictures of at least 3 x 3; the same bytes as the reference.
void filterBounded(uint8_t* const* rows, int width, int height, const Kernel& kernel);

// Partial sums of one row: for the pixels [first, end) of the middle row `centre`,
// the eight taps other than the left one, weighted by `weights` (the kernel's, in the
// same order; weights[3] unused), as four 32-bit channel sums per pixel written to
// sums[4 * (x - first) ...]. Needs 1 <= first and end <= width - 1. The vector
// versions read 16 (SSE2) or 32 (AVX2) bytes from the pixel to the right of each
// group, so they stop where that would pass the row end and the scalar one finishes.
using PartialSums = void (*)(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first,
                             int end, int width, const int16_t* weights, int32_t* sums);
void partialSumsScalar(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first, int end,
                       int width, const int16_t* weights, int32_t* sums);
void partialSumsSse2(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first, int end,
                     int width, const int16_t* weights, int32_t* sums);
void partialSumsAvx2(const uint8_t* above, const uint8_t* centre, const uint8_t* below, int first, int end,
                     int width, const int16_t* weights, int32_t* sums);

// The pass along a row, one pixel's four channels at a time in an SSE2 register:
// count pixels written to out (4 bytes each), pixel i being sums[4i ..] plus the left
// weight times the filtered pixel before it, clamped to 0 .. limit and divided by
// the reciprocal (floor((t x magic) >> shift)). left holds the filtered pixel before
// the first on entry and the last one's on exit.
struct RowFinish {
  int32_t leftWeight;
  int32_t limit;
  uint64_t magic;
  int shift;
};
void finishRowSse2(const int32_t* sums, uint8_t* out, int count, const RowFinish& finish, int32_t* left);

#endif

}  // namespace s::image::filters::convolution::_convolve
