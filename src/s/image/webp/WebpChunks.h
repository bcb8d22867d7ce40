#pragma once
// The chunk structure of a WebP file, read and checked before any byte reaches
// libwebp.
//
// A WebP file is a RIFF container: "RIFF", a little-endian 32-bit size of what
// follows (the form type and the chunks), "WEBP", then chunks of a four-character
// code, a little-endian 32-bit payload size and the payload, padded to an even
// length. A simple file holds one "VP8 " (lossy) or "VP8L" (lossless) chunk. An
// extended file starts with "VP8X" (flags; canvas width - 1 and height - 1 in 24
// bits each) and may hold "ICCP" (an ICC profile), "EXIF", "XMP ", "ALPH" (the
// alpha of a lossy picture), and for an animation "ANIM" (background colour, loop
// count) followed by "ANMF" frames: a 16-byte frame header, then the frame's own
// "ALPH"/"VP8 "/"VP8L" chunks.
//
// Checked: the RIFF header; every chunk lies within the RIFF size, which lies
// within the file (bytes after it are ignored); VP8X comes first; the frames'
// sub-chunks lie within their frame; the canvas, the frame count and the chunk
// count stay within the limits. Anything a bitstream holds is libwebp's to check.
#include <cstddef>
#include <cstdint>

namespace s::image::webp {

enum class [[nodiscard]] WebpCheck : uint8_t {
  kOk,
  // The caller's limits.
  kCanvasTooLarge,  // the canvas has more pixels than the caller accepts
  kTooManyFrames,   // more than WebpChunks::kMaxFrames animation frames
  kTooManyChunks,   // more than WebpChunks::kMaxChunks chunks
  // Damage.
  kNotWebp,          // no "RIFF" ... "WEBP" header
  kRiffSize,         // the RIFF size is too small or runs past the end of the file
  kChunkSize,        // a chunk runs past the end of the RIFF data
  kExtendedNotFirst, // a VP8X chunk after the first, or one too short
  kFrameSize,        // an animation frame too short, or a sub-chunk past its end
  kNoBitstream,      // neither a picture nor an animation frame
};

// Where the parts of the file lie (pointers into the checked bytes).
struct WebpLayout {
  bool extended = false;  // a VP8X chunk
  uint8_t flags = 0;      // its flags byte
  int canvasWidth = 0;    // from VP8X; 0 for a simple file
  int canvasHeight = 0;
  bool animated = false;  // ANMF frames (the VP8X animation flag alone does not count)
  int frameCount = 0;
  // All pictures (the still's or every frame's) are VP8L.
  bool lossless = false;
  const uint8_t* profile = nullptr;  // the first ICCP payload
  size_t profileSize = 0;
  const uint8_t* exif = nullptr;  // the first EXIF payload
  size_t exifSize = 0;
};

class WebpChunks {
 public:
  static constexpr int kMaxFrames = 4096;
  static constexpr int kMaxChunks = 1 << 16;

  // Reads the structure of a file of size bytes; maxPixels bounds the VP8X canvas.
  static WebpCheck parse(const uint8_t* data, size_t size, int64_t maxPixels, WebpLayout* layout);
};

}  // namespace s::image::webp
