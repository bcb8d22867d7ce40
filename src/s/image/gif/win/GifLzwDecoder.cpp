#include "s/image/gif/win/GifLzwDecoder.h"

#include <bit>
#include <cstring>

#include "s/image/gif/win/GifRowOrder.h"

namespace s::image::gif::win {

namespace {

// Shorter strings are spelled along the chain: that is as fast, and leaves the copy
// table out of the cache.
constexpr int kCopyThreshold = 8;

bool frameIsValid(const GifLzwTarget& target) {
  if (target.topRow == nullptr || target.width <= 0 || target.height <= 0) return false;
  // A stride shorter than a row would make rows overlap; the caller's buffer is
  // trusted to hold height rows of this stride.
  ptrdiff_t strideBytes = target.rowStride < 0 ? -target.rowStride : target.rowStride;
  return target.height == 1 || strideBytes >= target.width;
}

// Eight bytes as a little-endian number, whatever the machine's byte order.
inline uint64_t loadLittleEndian64(const uint8_t* bytes) {
  uint64_t value;
  std::memcpy(&value, bytes, sizeof value);
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap64(value);
  return value;
}

}  // namespace

struct GifLzwDecoder::Cursor {
  explicit Cursor(const GifLzwTarget& frame)
      : target(frame), order(frame.height, frame.interlaced), row(rowPointer(order.row())) {}

  uint8_t* rowPointer(int y) const { return target.topRow + static_cast<ptrdiff_t>(y) * target.rowStride; }
  bool full() const { return order.done(); }

  // Moves to the start of the next row in stream order; afterwards full() tells
  // whether the frame is complete.
  void nextRow() {
    order.advance();
    x = 0;
    if (!order.done()) row = rowPointer(order.row());
  }

  // Writes count bytes in stream order, crossing rows, and drops what does not fit.
  void copy(const uint8_t* bytes, int count) {
    while (count > 0 && !full()) {
      int part = target.width - x;
      if (part > count) part = count;
      std::memcpy(row + x, bytes, static_cast<size_t>(part));
      x += part;
      written += static_cast<uint64_t>(part);
      bytes += part;
      count -= part;
      if (x == target.width) nextRow();
    }
  }

  // Sets every pixel not written yet to index 0.
  void zeroRest() {
    while (!full()) {
      std::memset(row + x, 0, static_cast<size_t>(target.width - x));
      nextRow();
    }
  }

  const GifLzwTarget& target;
  GifRowOrder order;
  uint8_t* row;
  int x = 0;
  uint64_t written = 0;
};

// Writes the string of `code` from its last byte (at last) back to its first, along
// the prefix chain. Prefixes are smaller codes, so the walk takes `length` steps.
inline void GifLzwDecoder::spellBackwards(int code, int clearCode, uint8_t* last) const {
  while (code >= clearCode) {
    const Entry& entry = table_[code];
    *last-- = entry.suffix;
    code = entry.prefix;
  }
  *last = static_cast<uint8_t>(code);
}

GifLzwDecodeResult GifLzwDecoder::decode(int minCodeSize, const uint8_t* data, size_t size,
                                         const GifLzwTarget& target) {
  GifLzwDecodeResult result;
  if (!frameIsValid(target)) {
    result.status = GifLzwDecodeStatus::kBadFrame;
    return result;
  }
  Cursor cursor(target);
  // Roots are the pixel indices themselves, so they must fit in 8 bits.
  if (minCodeSize < 1 || minCodeSize > 8) {
    cursor.zeroRest();
    result.status = GifLzwDecodeStatus::kBadCodeSize;
    return result;
  }
  if (data == nullptr) size = 0;

  const int clearCode = 1 << minCodeSize;
  const int endCode = clearCode + 1;
  const int firstFree = clearCode + 2;
  for (int root = 0; root < clearCode; ++root) {
    table_[root] = Entry{0, 1, static_cast<uint8_t>(root), static_cast<uint8_t>(root)};
  }

  int codeWidth = minCodeSize + 1;
  uint32_t codeMask = (1u << codeWidth) - 1;
  int nextCode = firstFree;
  int previous = -1;  // no previous string right after a clear code and at the start

  // Bits not yet used, least significant first; `position` is the next byte to load.
  uint64_t bits = 0;
  int bitCount = 0;
  size_t position = 0;

  // Where the last string was written, when the byte after it is in the same row.
  const uint8_t* previousStart = nullptr;

  const int width = target.width;
  GifLzwDecodeStatus status;
  for (;;) {
    if (bitCount < codeWidth) {
      if (size - position >= 8) {
        // Load as many whole bytes as fit above the bits held (bitCount + 8n <= 63).
        // The bits loaded beyond them are the same data bits, loaded again next time.
        bits |= loadLittleEndian64(data + position) << bitCount;
        position += static_cast<size_t>((63 - bitCount) >> 3);
        bitCount |= 56;
      } else {
        while (bitCount <= 56 && position < size) {
          bits |= static_cast<uint64_t>(data[position++]) << bitCount;
          bitCount += 8;
        }
        if (bitCount < codeWidth) {
          status = GifLzwDecodeStatus::kDataExhausted;
          break;
        }
      }
    }
    const int code = static_cast<int>(bits & codeMask);
    bits >>= codeWidth;
    bitCount -= codeWidth;

    int firstByte;
    bool selfReferring = false;  // the code being defined by this very step
    if (code < clearCode) {
      firstByte = code;
    } else if (code < nextCode) {
      if (code == clearCode) {
        codeWidth = minCodeSize + 1;
        codeMask = (1u << codeWidth) - 1;
        nextCode = firstFree;
        previous = -1;
        continue;
      }
      if (code == endCode) {
        status = GifLzwDecodeStatus::kEndCode;
        break;
      }
      firstByte = table_[code].first;
    } else {
      // Only the code about to be defined may be used before its definition, and
      // it needs a previous string: it spells that string plus its first byte.
      if (code > nextCode || previous < 0) {
        status = GifLzwDecodeStatus::kCodeOutOfRange;
        break;
      }
      firstByte = table_[previous].first;
      selfReferring = true;
    }

    // Once the table holds 4096 strings it stays as it is until a clear code
    // (a "deferred clear"), and decoding goes on with 12-bit codes.
    if (previous >= 0 && nextCode < kCodeLimit) {
      const Entry& prefix = table_[previous];
      table_[nextCode] = Entry{static_cast<uint16_t>(previous), static_cast<uint16_t>(prefix.length + 1),
                               static_cast<uint8_t>(firstByte), prefix.first};
      copyFrom_[nextCode] = previousStart;
      ++nextCode;
    }
    if (nextCode > static_cast<int>(codeMask) && codeWidth < GifLzw::kMaxCodeBits) {
      ++codeWidth;
      codeMask = (codeMask << 1) | 1;
    }
    previous = code;

    const int length = table_[code].length;
    uint8_t* out = cursor.row + cursor.x;
    if (length <= width - cursor.x) {
      if (length == 1) {
        *out = static_cast<uint8_t>(code);
      } else if (const uint8_t* from = length >= kCopyThreshold ? copyFrom_[code] : nullptr) {
        // A self-referring string starts where its prefix was written and ends with
        // the byte it writes first, so it is copied forwards byte by byte.
        if (length >= 32 && !selfReferring) {
          std::memcpy(out, from, static_cast<size_t>(length));
        } else {
          for (int i = 0; i < length; ++i) out[i] = from[i];
        }
      } else {
        spellBackwards(code, clearCode, out + (length - 1));
      }
      cursor.x += length;
      cursor.written += static_cast<uint64_t>(length);
      // The string and the first byte of the next one sit side by side here: the
      // entry the next code defines can be copied from this place.
      previousStart = cursor.x < width ? out : nullptr;
      if (cursor.x == width) cursor.nextRow();
    } else {
      spellBackwards(code, clearCode, spelled_ + (length - 1));
      cursor.copy(spelled_, length);
      previousStart = nullptr;
    }
    if (cursor.full()) {
      status = GifLzwDecodeStatus::kComplete;
      break;
    }
  }

  result.decodedPixels = cursor.written;
  cursor.zeroRest();
  result.status = status;
  return result;
}

}  // namespace s::image::gif::win
