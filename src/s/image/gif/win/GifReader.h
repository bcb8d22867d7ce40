#pragma once
// Parses a GIF stream block by block into a Gif's frames.
//
// The stream is read through a buffer whose reads never pass the end: a short read
// yields zeros and sets a sticky flag, and the block loop then ends as at the
// trailer. Every frame's data sub-blocks are gathered (length bytes removed) and
// decoded in one pass straight into the frame's raster.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/io/IInputStream.h"

namespace s::image::gif::win {

class Gif;

// How reading ended.
enum class GifReadStatus {
  kTrailer,      // the trailer byte
  kEndOfData,    // the data ended first (the frames read so far are kept)
  kNotGif,       // no "GIF8" signature: nothing was read
  kFrameLimit,   // more frames than Gif::kMaxFrames
  kPixelBudget,  // the frames would decode to more than the pixel budget
};

class GifReader {
 public:
  // maxTotalPixels: the budget of the file (at most Gif::kMaxTotalPixels).
  GifReader(io::IInputStream& in, Gif& gif, uint64_t maxTotalPixels);
  GifReader(const GifReader&) = delete;
  GifReader& operator=(const GifReader&) = delete;

  // Reads the whole stream into the (emptied) Gif.
  [[nodiscard]] GifReadStatus read();
  // Frames whose pixel data ended early or was damaged (kept, the rest index 0).
  int damagedFrames() const { return damagedFrames_; }

 private:
  // What a graphic control extension says about the next image.
  struct Control {
    bool seen = false;
    uint8_t packed = 0;
    uint16_t delay = 0;
    uint8_t transparentIndex = 0;
  };

  uint8_t u8();
  uint16_t u16();
  void bytes(uint8_t* out, size_t count);
  void skip(size_t count);
  bool refill();

  void readHeader();
  void readExtension();
  void readGraphicControl();
  void readApplication();
  void skipSubBlocks();
  // One image: descriptor, colour table, data. False when reading must stop.
  bool readImage();
  // Gathers the data sub-blocks, keeping at most maxBytes of them.
  void gatherData(uint64_t maxBytes);
  // Whether one more frame of this size stays within the caps; sets status_ if not.
  bool admitFrame(int width, int height);
  // Reads a table of 2^depth entries into table (256 words, bytes blue, green, red, 0).
  void readColourTable(int depth, uint32_t* table, int* count);

  io::IInputStream& in_;
  Gif& gif_;
  uint64_t maxTotalPixels_;
  std::vector<uint8_t> buffer_;  // read-ahead, on the heap: decoding already uses ~60 KB of stack
  size_t bufferLength_ = 0;
  size_t bufferPosition_ = 0;
  bool failed_ = false;

  GifReadStatus status_ = GifReadStatus::kTrailer;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  // The largest depth of the colour tables read (the gray ramp counts as 8 when a
  // frame uses it).
  int bitDepth_ = 0;
  int globalDepth_ = 8;  // of the global table; 8 for the gray ramp
  bool interlaced_ = false;
  uint16_t loopCount_ = 1;
  uint32_t globalTable_[256] = {};
  int globalCount_ = 0;
  uint32_t localTable_[256] = {};
  Control control_;
  std::vector<uint8_t> data_;
  // Budget bookkeeping: frame rasters so far and the largest frame.
  uint64_t framePixels_ = 0;
  int largestWidth_ = 0;
  int largestHeight_ = 0;
  int damagedFrames_ = 0;
};

}  // namespace s::image::gif::win
