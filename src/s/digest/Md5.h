#pragma once
// MD5 (RFC 1321): the 16-byte digest that texts report of their UTF-16 bytes.
// Not for security; for fingerprints that other tools can reproduce.
#include "s/digest/IDigest.h"

namespace s::digest {

class Md5 final : public IDigest {
 public:
  Md5() { restart(); }
  void restart() override;
  void update(const void* bytes, size_t count) override;
  void finish() override;
  const uint8_t* value() const override { return value_; }
  size_t valueSize() const override { return sizeof value_; }

 private:
  void processBlock(const uint8_t* block);

  uint32_t state_[4];
  uint64_t totalBytes_;
  uint8_t pending_[64];  // a partial block
  size_t pendingCount_;
  uint8_t value_[16];
};

}  // namespace s::digest
