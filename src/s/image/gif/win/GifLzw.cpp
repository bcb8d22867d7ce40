#include "s/image/gif/win/GifLzw.h"

#include <cstring>

#include "s/image/gif/win/GifLzwDecoder.h"
#include "s/io/IOutputStream.h"

namespace s::image::gif::win {

namespace {

// Slot = (pixel << kHashShift) XOR prefix. The shift is 8 minus the number of times
// 5003 doubles before reaching 65535 (four), so slots stay below 4096 + 256.
constexpr int kHashShift = 4;
constexpr uint8_t kBlockTerminator = 0;

bool sourceIsValid(const GifLzwSource& pixels) {
  if (pixels.topRow == nullptr || pixels.width <= 0 || pixels.height <= 0) return false;
  ptrdiff_t strideBytes = pixels.rowStride < 0 ? -pixels.rowStride : pixels.rowStride;
  return pixels.height == 1 || strideBytes >= pixels.width;
}

}  // namespace

GifLzw::GifLzw() { reset(); }

void GifLzw::reset() {
  clearHash();
  std::memset(codes_, 0, sizeof codes_);
  std::memset(block_, 0, sizeof block_);
  blockLength_ = 0;
  accumulator_ = 0;
  accumulatedBits_ = 0;
  codeWidth_ = 0;
  maxCode_ = 0;
  nextCode_ = 0;
  clearFlag_ = false;
  initialCodeWidth_ = 0;
  clearCode_ = 0;
  endCode_ = 0;
  out_ = nullptr;
  writeFailed_ = false;
}

GifLzwDecodeResult GifLzw::decode(int minCodeSize, const uint8_t* data, size_t size, const GifLzwTarget& target) {
  GifLzwDecoder decoder;
  return decoder.decode(minCodeSize, data, size, target);
}

void GifLzw::clearHash() {
  for (int32_t& slot : hash_) slot = -1;
}

void GifLzw::startEncoding(int codeSize, io::IOutputStream& out) {
  clearHash();
  initialCodeWidth_ = codeSize + 1;
  codeWidth_ = initialCodeWidth_;
  maxCode_ = (1 << codeWidth_) - 1;
  clearCode_ = 1 << codeSize;
  endCode_ = clearCode_ + 1;
  nextCode_ = clearCode_ + 2;
  clearFlag_ = false;
  blockLength_ = 0;
  accumulator_ = 0;
  accumulatedBits_ = 0;
  out_ = &out;
  writeFailed_ = false;
}

GifLzwEncodeStatus GifLzw::encode(int codeSize, const GifLzwSource& pixels, io::IOutputStream& out) {
  // A code size of 1 would need the width to grow right after the first clear code,
  // which decoders do not agree on; GIF writers use 2 for two colours.
  if (codeSize < 2 || codeSize > 8) return GifLzwEncodeStatus::kBadCodeSize;
  if (!sourceIsValid(pixels)) return GifLzwEncodeStatus::kBadFrame;
  startEncoding(codeSize, out);

  const int pixelMask = clearCode_ - 1;
  emit(clearCode_);
  int prefix = pixels.topRow[0] & pixelMask;
  int firstColumn = 1;  // the first pixel is already the prefix
  for (int y = 0; y < pixels.height; ++y) {
    const uint8_t* row = pixels.topRow + static_cast<ptrdiff_t>(y) * pixels.rowStride;
    for (int x = firstColumn; x < pixels.width; ++x) {
      const int pixel = row[x] & pixelMask;
      const int32_t key = (static_cast<int32_t>(pixel) << kMaxCodeBits) + prefix;
      int slot = (pixel << kHashShift) ^ prefix;
      if (hash_[slot] == key) {
        prefix = codes_[slot];
        continue;
      }
      if (hash_[slot] >= 0) {
        // Secondary probe. An entry of 0 (the string "index 0, index 0") stops the
        // probe like an empty slot and may be overwritten there; that only costs a
        // little compression, and keeping it keeps the output byte for byte.
        const int step = slot == 0 ? 1 : kHashSize - slot;
        bool found = false;
        for (;;) {
          slot -= step;
          if (slot < 0) slot += kHashSize;
          if (hash_[slot] == key) {
            found = true;
            break;
          }
          if (hash_[slot] <= 0) break;
        }
        if (found) {
          prefix = codes_[slot];
          continue;
        }
      }
      emit(prefix);
      if (nextCode_ < kCodeLimit) {
        codes_[slot] = static_cast<uint16_t>(nextCode_++);
        hash_[slot] = key;
      } else {
        clearTable();
      }
      prefix = pixel;
    }
    firstColumn = 0;
  }
  emit(prefix);
  emit(endCode_);
  finishEncoding();
  return writeFailed_ ? GifLzwEncodeStatus::kWriteFailed : GifLzwEncodeStatus::kOk;
}

// The table is full: start again with only the roots, and tell the decoder so.
void GifLzw::clearTable() {
  clearHash();
  nextCode_ = clearCode_ + 2;
  clearFlag_ = true;
  emit(clearCode_);
}

void GifLzw::emit(int code) {
  // accumulatedBits_ < 8 between calls and codes have at most 12 bits: 20 bits at most.
  accumulator_ |= static_cast<uint32_t>(code) << accumulatedBits_;
  accumulatedBits_ += codeWidth_;
  while (accumulatedBits_ >= 8) {
    putByte(static_cast<uint8_t>(accumulator_ & 0xFF));
    accumulator_ >>= 8;
    accumulatedBits_ -= 8;
  }
  // The decoder adds its string for this code only when it reads the next one, so
  // the width grows once the next free code no longer fits the current width.
  if (nextCode_ > maxCode_ || clearFlag_) {
    if (clearFlag_) {
      codeWidth_ = initialCodeWidth_;
      maxCode_ = (1 << codeWidth_) - 1;
      clearFlag_ = false;
    } else {
      ++codeWidth_;
      maxCode_ = codeWidth_ == kMaxCodeBits ? kCodeLimit : (1 << codeWidth_) - 1;
    }
  }
}

void GifLzw::putByte(uint8_t value) {
  block_[1 + blockLength_++] = value;
  if (blockLength_ == kMaxBlockBytes) writeBlock();
}

void GifLzw::writeBlock() {
  if (blockLength_ == 0) return;
  block_[0] = static_cast<uint8_t>(blockLength_);
  const size_t count = static_cast<size_t>(blockLength_) + 1;
  blockLength_ = 0;
  if (writeFailed_) return;
  size_t written = 0;
  if (!out_->write(block_, count, &written) || written != count) writeFailed_ = true;
}

void GifLzw::finishEncoding() {
  // The last code's remaining bits (fewer than 8) fill one last byte.
  if (accumulatedBits_ > 0) {
    putByte(static_cast<uint8_t>(accumulator_ & 0xFF));
    accumulator_ = 0;
    accumulatedBits_ = 0;
  }
  writeBlock();
  if (!writeFailed_) {
    size_t written = 0;
    if (!out_->write(&kBlockTerminator, 1, &written) || written != 1) writeFailed_ = true;
  }
  out_ = nullptr;
}

}  // namespace s::image::gif::win
