#pragma once
#include <cstddef>
#include <cstdint>

namespace s::io {

class IOutputStream {
 public:
  virtual ~IOutputStream() = default;
  // Writes count bytes at the current position and advances it. *writtenCount (when
  // given) receives the number written. False when not every byte could be written.
  virtual bool write(const void* buffer, size_t count, size_t* writtenCount) = 0;
  // Pushes buffered bytes to their destination; false when that failed.
  virtual bool flush() { return true; }
  virtual int64_t getPosition() const = 0;
  virtual void rewind() = 0;
  virtual bool seek(int64_t position) = 0;
};

}  // namespace s::io
