#pragma once
// A message digest fed in pieces: update() any number of times, then finish().
// value() holds the result after finish(); restart() begins a new message.
#include <cstddef>
#include <cstdint>

namespace s::digest {

class IDigest {
 public:
  virtual ~IDigest() = default;
  virtual void restart() = 0;
  virtual void update(const void* bytes, size_t count) = 0;
  virtual void finish() = 0;
  // The finished digest: valueSize() bytes, most significant first.
  virtual const uint8_t* value() const = 0;
  virtual size_t valueSize() const = 0;
};

}  // namespace s::digest
