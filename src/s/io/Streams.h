#pragma once
// Whole-block helpers over the byte streams: streams may hand out or accept fewer
// bytes than asked for, and these loop until the block is done or the stream fails.
#include <cstddef>
#include <cstdint>

#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"

namespace s::io {

class Streams {
 public:
  // Reads up to count bytes; returns how many arrived before the end or a failure.
  static size_t readFully(IInputStream& in, void* buffer, size_t count);
  // Writes the whole block; false when any part could not be written.
  static bool writeFully(IOutputStream& out, const void* buffer, size_t count);
  // Moves the position by count bytes (may be negative); false when the stream
  // cannot go there.
  static bool skip(IInputStream& in, int64_t count);
  // True when the stream holds a byte at the absolute position. The current position
  // is kept. Used to check that a declared block is really there before allocating.
  static bool hasByteAt(IInputStream& in, int64_t position);
};

}  // namespace s::io
