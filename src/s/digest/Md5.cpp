#include "s/digest/Md5.h"

#include <cstring>

namespace s::digest {
namespace {

// Per-round shift amounts and the sine-derived constants of RFC 1321.
constexpr uint32_t kShifts[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                  5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                  4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                  6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t rotateLeft(uint32_t value, uint32_t bits) { return (value << bits) | (value >> (32 - bits)); }

uint32_t loadLittleEndian(const uint8_t* bytes) {
  return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

}  // namespace

void Md5::restart() {
  state_[0] = 0x67452301;
  state_[1] = 0xefcdab89;
  state_[2] = 0x98badcfe;
  state_[3] = 0x10325476;
  totalBytes_ = 0;
  pendingCount_ = 0;
  std::memset(value_, 0, sizeof value_);
}

void Md5::processBlock(const uint8_t* block) {
  uint32_t words[16];
  for (int i = 0; i < 16; ++i) words[i] = loadLittleEndian(block + 4 * i);
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (uint32_t i = 0; i < 64; ++i) {
    uint32_t mixed;
    uint32_t wordIndex;
    if (i < 16) {
      mixed = (b & c) | (~b & d);
      wordIndex = i;
    } else if (i < 32) {
      mixed = (d & b) | (~d & c);
      wordIndex = (5 * i + 1) % 16;
    } else if (i < 48) {
      mixed = b ^ c ^ d;
      wordIndex = (3 * i + 5) % 16;
    } else {
      mixed = c ^ (b | ~d);
      wordIndex = (7 * i) % 16;
    }
    const uint32_t rotated = rotateLeft(a + mixed + kSines[i] + words[wordIndex], kShifts[i]);
    a = d;
    d = c;
    c = b;
    b += rotated;
  }
  state_[0] += a;
  state_[1] += b;
  state_[2] += c;
  state_[3] += d;
}

void Md5::update(const void* bytes, size_t count) {
  const auto* input = static_cast<const uint8_t*>(bytes);
  totalBytes_ += count;
  if (pendingCount_) {
    const size_t taken = count < 64 - pendingCount_ ? count : 64 - pendingCount_;
    std::memcpy(pending_ + pendingCount_, input, taken);
    pendingCount_ += taken;
    input += taken;
    count -= taken;
    if (pendingCount_ < 64) return;
    processBlock(pending_);
    pendingCount_ = 0;
  }
  for (; count >= 64; input += 64, count -= 64) processBlock(input);
  if (count) std::memcpy(pending_, input, count);
  pendingCount_ = count;
}

void Md5::finish() {
  // Padding: 0x80, zeros up to 56 mod 64, then the message length in bits (LE).
  const uint64_t bitCount = totalBytes_ * 8;
  uint8_t padding[72] = {0x80};
  const size_t paddingCount = pendingCount_ < 56 ? 56 - pendingCount_ : 120 - pendingCount_;
  for (int i = 0; i < 8; ++i) padding[paddingCount + i] = static_cast<uint8_t>(bitCount >> (8 * i));
  const uint64_t messageBytes = totalBytes_;
  update(padding, paddingCount + 8);
  totalBytes_ = messageBytes;
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 4; ++k) value_[4 * i + k] = static_cast<uint8_t>(state_[i] >> (8 * k));
  }
}

}  // namespace s::digest
