#include "s/image/webp/WebpChunks.h"

#include <cstring>

namespace s::image::webp {

namespace {

constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kRiffHeaderBytes = 12;   // "RIFF", size, "WEBP"
constexpr size_t kExtendedBytes = 10;     // VP8X: flags, 3 reserved, 2 x 24-bit size
constexpr size_t kFrameHeaderBytes = 16;  // ANMF: x, y, width, height, duration, flags

uint32_t le32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

uint32_t le24(const uint8_t* p) { return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16); }

bool is(const uint8_t* fourcc, const char* name) { return std::memcmp(fourcc, name, 4) == 0; }

// One chunk at offset `at` of the span ending at `end`: its code, payload and the
// offset of the next chunk. The payload must fit; the pad byte may be missing only
// at the very end of the span.
struct Chunk {
  const uint8_t* fourcc = nullptr;
  const uint8_t* payload = nullptr;
  size_t size = 0;
  size_t next = 0;
};

bool readChunk(const uint8_t* data, size_t at, size_t end, Chunk* chunk) {
  if (end - at < kChunkHeaderBytes) return false;
  const size_t size = le32(data + at + 4);
  const size_t payloadAt = at + kChunkHeaderBytes;
  if (size > end - payloadAt) return false;
  chunk->fourcc = data + at;
  chunk->payload = data + payloadAt;
  chunk->size = size;
  // payloadAt + size <= end, so adding the pad byte cannot wrap.
  const size_t padded = payloadAt + size + (size & 1);
  chunk->next = padded < end ? padded : end;
  return true;
}

// The sub-chunks of an animation frame: whether they lie within it, and whether the
// frame's picture is lossless (VP8L) or lossy (VP8).
WebpCheck readFrame(const Chunk& frame, bool* hasPicture, bool* lossless) {
  if (frame.size < kFrameHeaderBytes) return WebpCheck::kFrameSize;
  *hasPicture = false;
  *lossless = false;
  const size_t end = frame.size;
  for (size_t at = kFrameHeaderBytes; at < end;) {
    Chunk sub;
    if (!readChunk(frame.payload, at, end, &sub)) return WebpCheck::kFrameSize;
    if (is(sub.fourcc, "VP8L") || is(sub.fourcc, "VP8 ")) {
      *hasPicture = true;
      *lossless = is(sub.fourcc, "VP8L");
      break;
    }
    at = sub.next;
  }
  return WebpCheck::kOk;
}

}  // namespace

WebpCheck WebpChunks::parse(const uint8_t* data, size_t size, int64_t maxPixels, WebpLayout* layout) {
  *layout = WebpLayout();
  if (!data || size < kRiffHeaderBytes || !is(data, "RIFF") || !is(data + 8, "WEBP")) return WebpCheck::kNotWebp;
  const size_t riffSize = le32(data + 4);
  // The form type and at least one chunk header; bytes after the RIFF data are
  // not part of the picture.
  if (riffSize < 4 + kChunkHeaderBytes || riffSize > size - 8) return WebpCheck::kRiffSize;
  const size_t end = 8 + riffSize;
  bool stillPicture = false;
  bool stillLossless = false;
  bool framesLossless = true;
  int chunks = 0;
  for (size_t at = kRiffHeaderBytes; at < end; ++chunks) {
    if (chunks >= kMaxChunks) return WebpCheck::kTooManyChunks;
    Chunk chunk;
    if (!readChunk(data, at, end, &chunk)) return WebpCheck::kChunkSize;
    if (is(chunk.fourcc, "VP8X")) {
      if (chunks != 0 || chunk.size < kExtendedBytes) return WebpCheck::kExtendedNotFirst;
      layout->extended = true;
      layout->flags = chunk.payload[0];
      layout->canvasWidth = static_cast<int>(le24(chunk.payload + 4)) + 1;
      layout->canvasHeight = static_cast<int>(le24(chunk.payload + 7)) + 1;
      // Each side is at most 2^24, so the product fits in 64 bits.
      if (static_cast<int64_t>(layout->canvasWidth) * layout->canvasHeight > maxPixels)
        return WebpCheck::kCanvasTooLarge;
    } else if (is(chunk.fourcc, "ICCP")) {
      if (!layout->profile) {
        layout->profile = chunk.payload;
        layout->profileSize = chunk.size;
      }
    } else if (is(chunk.fourcc, "EXIF")) {
      if (!layout->exif) {
        layout->exif = chunk.payload;
        layout->exifSize = chunk.size;
      }
    } else if (is(chunk.fourcc, "ANMF")) {
      if (layout->frameCount >= kMaxFrames) return WebpCheck::kTooManyFrames;
      bool hasPicture = false;
      bool lossless = false;
      const WebpCheck frame = readFrame(chunk, &hasPicture, &lossless);
      if (frame != WebpCheck::kOk) return frame;
      if (!hasPicture) return WebpCheck::kNoBitstream;
      ++layout->frameCount;
      framesLossless = framesLossless && lossless;
    } else if ((is(chunk.fourcc, "VP8 ") || is(chunk.fourcc, "VP8L")) && !stillPicture) {
      stillPicture = true;
      stillLossless = is(chunk.fourcc, "VP8L");
    }
    at = chunk.next;
  }
  layout->animated = layout->frameCount > 0;
  if (!layout->animated && !stillPicture) return WebpCheck::kNoBitstream;
  layout->lossless = layout->animated ? framesLossless : stillLossless;
  return WebpCheck::kOk;
}

}  // namespace s::image::webp
