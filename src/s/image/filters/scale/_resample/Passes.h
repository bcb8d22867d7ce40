#pragma once
// The inner loops of the two resampling passes, one set per instruction level.
//
// A horizontal filter turns one input row into one output row through a table whose
// entries index input pixels. A vertical filter makes one output row from the rows
// first..last of the intermediate buffer (entry `index` of the table), `width` pixels
// wide. Pixels are 4 bytes; every channel is a 32-bit sum of weight x value, rounded
// by (sum + 32768) >> 16 and cut to 8 bits. Every level gives the same bytes; the
// scalar one is the reference and is always present.
#include <cstddef>
#include <cstdint>

#include "s/image/filters/scale/Contribution.h"
#include "s/image/filters/scale/_resample/PassTable.h"

namespace s::image::filters::scale::_resample {

using RowFilter = void (*)(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable& pass);
using ColumnFilter = void (*)(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width,
                              const Contribution& table, const PassTable& pass, int index);

void filterRowScalar(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable& pass);
void filterColumnsScalar(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width, const Contribution& table,
                         const PassTable& pass, int index);

// One output pixel of a horizontal entry, and `bytes` output bytes of a vertical entry
// starting at byte `offset` of the rows: the reference arithmetic, shared by the
// vector filters for odd entries and row ends.
void filterPixelScalar(const uint8_t* in, uint8_t* out, const Contribution& table, int index);
void filterBytesScalar(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, size_t offset, size_t bytes,
                       const Contribution& table, int index);

#if defined(__x86_64__) || defined(__i386__)
#define PICTORVA_RESAMPLE_X86 1
void filterRowSse2(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable& pass);
void filterColumnsSse2(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width, const Contribution& table,
                       const PassTable& pass, int index);
void filterRowAvx2(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable& pass);
void filterColumnsAvx2(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width, const Contribution& table,
                       const PassTable& pass, int index);
#endif

}  // namespace s::image::filters::scale::_resample
