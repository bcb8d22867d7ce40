#pragma once
// FNV-1a, 64-bit: a small non-cryptographic digest for change detection and test
// fingerprints.
#include "s/digest/IDigest.h"

namespace s::digest {

class Fnv1a64 final : public IDigest {
 public:
  static constexpr uint64_t kOffsetBasis = 0xcbf29ce484222325ull;
  static constexpr uint64_t kPrime = 0x100000001b3ull;

  void restart() override;
  void update(const void* bytes, size_t count) override;
  void finish() override;
  const uint8_t* value() const override { return value_; }
  size_t valueSize() const override { return sizeof value_; }
  // The finished digest as a number.
  uint64_t hash() const { return hash_; }

 private:
  uint64_t hash_ = kOffsetBasis;
  uint8_t value_[8] = {};
};

}  // namespace s::digest
