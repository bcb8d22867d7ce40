#pragma once
// A byte stream written to a file through a 65536-byte buffer. Every failure of the
// platform (a full disk, a file that could not be opened) is reported: by the write
// or flush that met it, and again by close, so a caller that checks close learns of
// any lost byte.
#include <cstdint>

#include "s/file/IFileInputStream.h"
#include "s/io/IOutputStream.h"

namespace s::file {

class IFileOutputStream : public io::IOutputStream {
 public:
  static constexpr size_t kBufferSize = 65536;

  virtual bool isOpen() const = 0;
  // Flushes, then ends the file at the current position.
  virtual bool truncate() = 0;
  // Flushes and closes; false when any write, the flush or the close failed.
  virtual bool close() = 0;
  virtual bool isSeekable() const = 0;
  // Seeks and skips write the buffer out first.
  virtual bool seekToEnd() = 0;
  virtual bool seekFromEnd(int64_t back) = 0;
  virtual bool skip(int64_t forward) = 0;
  virtual bool skipBack(int64_t back) = 0;
  // close() and give the stream back to its pool; answers what close answered.
  virtual bool closeAndRelease() = 0;
  virtual void release() = 0;
  // The same stream read as an input stream: reads start at the current position, after
  // the buffer has been written out, and advance it.
  virtual IFileInputStream* asInput() = 0;
};

}  // namespace s::file
