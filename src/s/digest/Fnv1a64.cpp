#include "s/digest/Fnv1a64.h"

namespace s::digest {

void Fnv1a64::restart() {
  hash_ = kOffsetBasis;
  for (uint8_t& byte : value_) byte = 0;
}

void Fnv1a64::update(const void* bytes, size_t count) {
  const auto* p = static_cast<const uint8_t*>(bytes);
  uint64_t h = hash_;
  for (size_t i = 0; i < count; ++i) {
    h ^= p[i];
    h *= kPrime;
  }
  hash_ = h;
}

void Fnv1a64::finish() {
  for (int i = 0; i < 8; ++i) value_[i] = static_cast<uint8_t>(hash_ >> (56 - 8 * i));
}

}  // namespace s::digest
