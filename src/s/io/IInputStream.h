#pragma once
// Byte streams: arrays, texts and files are all read and written through these.
// Counts and positions are in bytes.
#include <cstddef>
#include <cstdint>

namespace s::io {

class IInputStream {
 public:
  virtual ~IInputStream() = default;
  // Copies up to count bytes from the current position into buffer and advances the
  // position. *readCount (when given) receives the number copied. False when nothing
  // could be read (the end of the data is a failure too).
  virtual bool read(void* buffer, size_t count, size_t* readCount) = 0;
  virtual int64_t getPosition() const = 0;
  virtual void rewind() = 0;
  // Moves to an absolute position; false when the stream cannot go there.
  virtual bool seek(int64_t position) = 0;
};

}  // namespace s::io
