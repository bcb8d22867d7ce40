#include "s/image/filters/scale/_resample/Passes.h"

#ifdef PICTORVA_RESAMPLE_X86
#include <cstring>

#include "s/image/filters/scale/_resample/Sse2Ops.h"

namespace s::image::filters::scale::_resample {

void filterRowSse2(const uint8_t* in, uint8_t* out, const Contribution& table, const PassTable& pass) {
  const int n = table.getEntryCount();
  for (int i = 0; i < n; ++i, out += 4) {
    const PassEntry& e = pass.entry(i);
    const uint8_t* pixels = in + static_cast<ptrdiff_t>(e.first) * 4;
    switch (e.kind) {
      case EntryKind::kCopy:
        std::memcpy(out, pixels, 4);
        break;
      case EntryKind::kPaired:
        sse2::store4(out, sse2::packPixel(sse2::pairedTail(pixels, pass.pairs(e), 0, e.count, _mm_setzero_si128())));
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

void filterColumnsSse2(const uint8_t* buffer, ptrdiff_t stride, uint8_t* out, int width, const Contribution& table,
                       const PassTable& pass, int index) {
  const PassEntry& e = pass.entry(index);
  const size_t bytes = static_cast<size_t>(width) * 4;
  const uint8_t* top = buffer + static_cast<ptrdiff_t>(e.first) * stride;
  if (e.kind == EntryKind::kCopy) {
    std::memcpy(out, top, bytes);
    return;
  }
  size_t x = 0;
  if (e.kind == EntryKind::kPaired) {
    for (; x + 16 <= bytes; x += 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), sse2::pairedColumns16(top + x, stride, pass.pairs(e), e.count));
    }
  } else if (e.kind == EntryKind::kWide) {
    for (; x + 16 <= bytes; x += 16) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), sse2::wideColumns16(top + x, stride, table.weights(index), e.count));
    }
  }
  // Up to three pixels at the row end, or the whole row of a kScalar entry.
  if (x < bytes) filterBytesScalar(buffer, stride, out, x, bytes - x, table, index);
}

}  // namespace s::image::filters::scale::_resample
#endif
