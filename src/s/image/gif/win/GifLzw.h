#pragma once
// The GIF variant of LZW, on plain memory.
//
// Decoding takes the minimum code size byte of an image and its data sub-blocks
// gathered into one buffer (length bytes removed) and writes one 8-bit index per pixel
// into a caller's frame buffer. The data is hostile: no byte past the buffer is read,
// no byte outside the frame is written, and when decoding ends early every pixel not
// decoded is set to index 0. Decoding stops when the frame is full.
//
// Encoding is the classic hashed encoder: a 5003-slot open-addressing table with
// 12-bit codes, a clear code when the table is full, and output in data sub-blocks of
// at most 254 bytes followed by the block terminator.
//
// Both directions see a frame as rows from the top, rowStride bytes apart (negative
// for rasters stored bottom-up).
#include <cstddef>
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::io {
class IOutputStream;
}

namespace s::image::gif::win {

// Pixels to encode.
struct GifLzwSource {
  const uint8_t* topRow = nullptr;
  ptrdiff_t rowStride = 0;
  int width = 0;
  int height = 0;
};

// The frame buffer a decode fills.
struct GifLzwTarget {
  uint8_t* topRow = nullptr;
  ptrdiff_t rowStride = 0;
  int width = 0;
  int height = 0;
  bool interlaced = false;  // rows arrive in the four-pass order (GifRowOrder)
};

enum class GifLzwDecodeStatus {
  kComplete,         // every pixel of the frame was decoded
  kEndCode,          // the end code came before the frame was full
  kDataExhausted,    // the data ended before the frame was full
  kCodeOutOfRange,   // a code beyond the next free one, or one that needs a previous string after a clear
  kBadCodeSize,      // minimum code size outside 1..8; the frame is all index 0
  kBadFrame,         // no buffer, a size <= 0 or a row stride shorter than the width; nothing written
};

struct GifLzwDecodeResult {
  GifLzwDecodeStatus status = GifLzwDecodeStatus::kBadFrame;
  uint64_t decodedPixels = 0;  // pixels written from the data (the rest were set to 0)
};

enum class GifLzwEncodeStatus {
  kOk,
  kBadCodeSize,   // outside 2..8
  kBadFrame,      // no pixels, a size <= 0 or a row stride shorter than the width
  kWriteFailed,   // the output stream refused bytes; the output is incomplete
};

class GifLzwBase : public base::IObject, public thread::IPoolable {};

class GifLzw final : public thread::PooledObject<GifLzw, GifLzwBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_gif_win_GifLzw";

  static constexpr int kMaxCodeBits = 12;
  static constexpr int kCodeLimit = 1 << kMaxCodeBits;  // 4096 codes
  static constexpr int kHashSize = 5003;                // prime, about 122 % of 4096
  static constexpr int kMaxBlockBytes = 254;            // data bytes per sub-block written

  GifLzw();
  void reset() override;

  // Encodes the pixels with minimum code size codeSize (2..8) and writes the data
  // sub-blocks and the block terminator to out. Pixel values are taken modulo
  // 2^codeSize, as larger ones have no code.
  [[nodiscard]] GifLzwEncodeStatus encode(int codeSize, const GifLzwSource& pixels, io::IOutputStream& out);

  // Decodes `size` bytes of gathered LZW data with minimum code size minCodeSize into
  // target. Needs no GifLzw object: the decoder's tables live on the stack for one call.
  [[nodiscard]] static GifLzwDecodeResult decode(int minCodeSize, const uint8_t* data, size_t size,
                                                 const GifLzwTarget& target);

 private:
  void startEncoding(int codeSize, io::IOutputStream& out);
  void clearHash();
  void clearTable();
  void emit(int code);
  void putByte(uint8_t value);
  void writeBlock();
  void finishEncoding();

  int32_t hash_[kHashSize];   // key (pixel << 12) + prefix code, or -1 for an empty slot
  uint16_t codes_[kHashSize]; // the code of the string whose key is in the same slot
  uint8_t block_[1 + kMaxBlockBytes];  // length byte, then the data of the pending sub-block
  int blockLength_ = 0;
  uint32_t accumulator_ = 0;  // bits not yet moved into the block, least significant first
  int accumulatedBits_ = 0;
  int codeWidth_ = 0;
  int maxCode_ = 0;           // largest code of the current width (4096 at 12 bits: never grows)
  int nextCode_ = 0;
  bool clearFlag_ = false;    // a clear code was just emitted: the width returns to the initial one
  int initialCodeWidth_ = 0;
  int clearCode_ = 0;
  int endCode_ = 0;
  io::IOutputStream* out_ = nullptr;
  bool writeFailed_ = false;
};

}  // namespace s::image::gif::win
