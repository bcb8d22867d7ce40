#include "s/io/Streams.h"

namespace s::io {

size_t Streams::readFully(IInputStream& in, void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    size_t got = 0;
    if (!in.read(out + done, count - done, &got) || got == 0) break;
    done += got;
  }
  return done;
}

bool Streams::writeFully(IOutputStream& out, const void* buffer, size_t count) {
  const auto* in = static_cast<const uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    size_t put = 0;
    bool ok = out.write(in + done, count - done, &put);
    done += put;
    // A stream that neither fails nor moves would loop forever: treat it as failed.
    if (!ok || put == 0) return done == count;
  }
  return true;
}

bool Streams::skip(IInputStream& in, int64_t count) {
  int64_t position = in.getPosition();
  int64_t target = 0;
  if (__builtin_add_overflow(position, count, &target) || target < 0) return false;
  return in.seek(target);
}

bool Streams::hasByteAt(IInputStream& in, int64_t position) {
  if (position < 0) return false;
  int64_t kept = in.getPosition();
  uint8_t probe = 0;
  size_t got = 0;
  bool there = in.seek(position) && in.read(&probe, 1, &got) && got == 1;
  in.seek(kept);
  return there;
}

}  // namespace s::io
