#pragma once
// A byte stream read from a file. Reads are single platform reads without a buffer of
// their own (callers read in blocks); the end of the file answers false with count 0.
// Positions are 64-bit. Seeks and skips answer false when the platform refuses them.
#include <cstdint>

#include "s/io/IInputStream.h"

namespace s::file {

class IFileInputStream : public io::IInputStream {
 public:
  // Closes the file; every later read fails.
  virtual bool close() = 0;
  // File streams can always seek.
  virtual bool isSeekable() const = 0;
  virtual bool seekToEnd() = 0;
  // To `back` bytes before the end.
  virtual bool seekFromEnd(int64_t back) = 0;
  virtual bool skip(int64_t forward) = 0;
  virtual bool skipBack(int64_t back) = 0;
  // Closes the stream and gives it back to its pool.
  virtual void release() = 0;
};

}  // namespace s::file
