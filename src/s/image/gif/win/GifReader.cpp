#include "s/image/gif/win/GifReader.h"

#include <algorithm>
#include <cstring>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/win/GifBlocks.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/gif/win/GifLzw.h"
#include "s/thread/Owned.h"

namespace s::image::gif::win {

namespace {

constexpr size_t kScreenDescriptorBytes = 7;
constexpr size_t kApplicationIdBytes = 11;
constexpr size_t kReadAheadBytes = 16384;

uint32_t quad(uint8_t red, uint8_t green, uint8_t blue) {
  // Colour-table words: bytes blue, green, red, 0 in memory.
  return static_cast<uint32_t>(blue) | (static_cast<uint32_t>(green) << 8) | (static_cast<uint32_t>(red) << 16);
}

}  // namespace

GifReader::GifReader(io::IInputStream& in, Gif& gif, uint64_t maxTotalPixels)
    : in_(in), gif_(gif), maxTotalPixels_(std::min(maxTotalPixels, Gif::kMaxTotalPixels)), buffer_(kReadAheadBytes) {}

bool GifReader::refill() {
  if (failed_) return false;
  size_t got = 0;
  if (!in_.read(buffer_.data(), buffer_.size(), &got) || got == 0 || got > buffer_.size()) {
    failed_ = true;
    return false;
  }
  bufferLength_ = got;
  bufferPosition_ = 0;
  return true;
}

uint8_t GifReader::u8() {
  if (bufferPosition_ == bufferLength_ && !refill()) return 0;
  return buffer_[bufferPosition_++];
}

uint16_t GifReader::u16() {
  const uint8_t low = u8();
  return static_cast<uint16_t>(low | (u8() << 8));
}

void GifReader::bytes(uint8_t* out, size_t count) {
  while (count > 0) {
    if (bufferPosition_ == bufferLength_ && !refill()) {
      std::memset(out, 0, count);
      return;
    }
    const size_t take = std::min(count, bufferLength_ - bufferPosition_);
    std::memcpy(out, buffer_.data() + bufferPosition_, take);
    bufferPosition_ += take;
    out += take;
    count -= take;
  }
}

void GifReader::skip(size_t count) {
  while (count > 0) {
    if (bufferPosition_ == bufferLength_ && !refill()) return;
    const size_t take = std::min(count, bufferLength_ - bufferPosition_);
    bufferPosition_ += take;
    count -= take;
  }
}

GifReadStatus GifReader::read() {
  uint8_t signature[6];
  bytes(signature, sizeof(signature));
  if (failed_ || std::memcmp(signature, "GIF8", 4) != 0) return GifReadStatus::kNotGif;
  readHeader();
  for (;;) {
    const uint8_t introducer = u8();
    // A failed read ends the file as the trailer does.
    if (failed_) {
      status_ = GifReadStatus::kEndOfData;
      break;
    }
    if (introducer == kTrailer) break;
    if (introducer == kExtensionIntroducer) {
      readExtension();
    } else if (introducer == kImageSeparator) {
      if (!readImage()) break;
    }
    // Any other byte between blocks is skipped.
  }
  // A file without any colour table is drawn with the 8-bit gray ramp.
  gif_.setFileValues(screenWidth_, screenHeight_, bitDepth_ > 0 ? bitDepth_ : 8, interlaced_);
  gif_.setLoopCount(loopCount_);
  return status_;
}

void GifReader::readHeader() {
  uint8_t screen[kScreenDescriptorBytes];
  bytes(screen, sizeof(screen));
  screenWidth_ = screen[0] | (screen[1] << 8);
  screenHeight_ = screen[2] | (screen[3] << 8);
  const uint8_t packed = screen[4];
  if (packed & kTableFlag) {
    globalDepth_ = (packed & 7) + 1;
    bitDepth_ = globalDepth_;
    readColourTable(globalDepth_, globalTable_, &globalCount_);
  } else {
    for (int i = 0; i < 256; ++i) {
      const auto level = static_cast<uint8_t>(i);
      globalTable_[i] = quad(level, level, level);
    }
    globalCount_ = 256;
  }
}

void GifReader::readColourTable(int depth, uint32_t* table, int* count) {
  // depth is 1..8, so the table has at most 256 entries (768 bytes).
  const int entries = 1 << depth;
  uint8_t rgb[3 * 256];
  bytes(rgb, static_cast<size_t>(3 * entries));
  for (int i = 0; i < entries; ++i) table[i] = quad(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
  for (int i = entries; i < 256; ++i) table[i] = 0;
  *count = entries;
}

void GifReader::readExtension() {
  const uint8_t label = u8();
  if (label == kGraphicControlLabel) {
    readGraphicControl();
  } else if (label == kApplicationLabel) {
    readApplication();
  } else {
    skipSubBlocks();
  }
}

void GifReader::skipSubBlocks() {
  for (;;) {
    const uint8_t length = u8();
    if (failed_ || length == 0) return;
    skip(length);
  }
}

void GifReader::readGraphicControl() {
  // The block is one sub-block of 4 bytes (packed, delay, transparent index) and the
  // terminator; other sizes take what is there (missing fields 0) and skip the rest.
  const uint8_t size = u8();
  if (failed_ || size == 0) return;
  uint8_t fields[255] = {};
  bytes(fields, size);
  control_.seen = true;
  control_.packed = fields[0];
  control_.delay = static_cast<uint16_t>(fields[1] | (fields[2] << 8));
  control_.transparentIndex = fields[3];
  skipSubBlocks();
}

void GifReader::readApplication() {
  const uint8_t size = u8();
  if (failed_ || size == 0) return;
  uint8_t identifier[255] = {};
  bytes(identifier, size);
  const bool netscape = size == kApplicationIdBytes && std::memcmp(identifier, "NETSCAPE2.0", kApplicationIdBytes) == 0;
  const uint8_t length = u8();
  if (failed_ || length == 0) return;
  if (netscape && length == 3) {
    (void)u8();  // sub-block id
    loopCount_ = u16();
  } else {
    skip(length);
  }
  skipSubBlocks();
}

bool GifReader::admitFrame(int width, int height) {
  if (gif_.getFrameCount() >= Gif::kMaxFrames) {
    status_ = GifReadStatus::kFrameLimit;
    return false;
  }
  // Every frame costs its raster, and toImageSet and composeFrames each make one
  // canvas per frame. The canvas is at most the larger of the screen and the largest
  // frame. All factors are below 2^16 (sizes) or 2^13 (frames): no overflow in 64 bits.
  const int largestWidth = std::max(largestWidth_, width);
  const int largestHeight = std::max(largestHeight_, height);
  const uint64_t canvas =
      static_cast<uint64_t>(std::max(screenWidth_, largestWidth)) *
      static_cast<uint64_t>(std::max(screenHeight_, largestHeight));
  const uint64_t frames = static_cast<uint64_t>(gif_.getFrameCount()) + 1;
  const uint64_t pixels = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
  if (framePixels_ + pixels + 2 * frames * canvas > maxTotalPixels_) {
    status_ = GifReadStatus::kPixelBudget;
    return false;
  }
  framePixels_ += pixels;
  largestWidth_ = largestWidth;
  largestHeight_ = largestHeight;
  return true;
}

void GifReader::gatherData(uint64_t maxBytes) {
  data_.clear();
  for (;;) {
    const uint8_t length = u8();
    if (failed_ || length == 0) return;
    if (data_.size() + length > maxBytes) {
      // More data than any coding of this frame needs: the rest is skipped.
      skip(length);
      continue;
    }
    const size_t at = data_.size();
    data_.resize(at + length);
    bytes(data_.data() + at, length);
  }
}

bool GifReader::readImage() {
  const int left = u16();
  const int top = u16();
  const int width = u16();
  const int height = u16();
  const uint8_t packed = u8();
  int localCount = globalCount_;
  if (packed & kTableFlag) {
    const int localDepth = (packed & 7) + 1;
    bitDepth_ = std::max(bitDepth_, localDepth);
    readColourTable(localDepth, localTable_, &localCount);
  } else {
    // The global table, or the gray ramp of a file without one.
    bitDepth_ = std::max(bitDepth_, globalDepth_);
    std::memcpy(localTable_, globalTable_, sizeof(localTable_));
  }
  const int minCodeSize = u8();
  const Control control = control_;
  control_ = Control();
  if (failed_) {
    status_ = GifReadStatus::kEndOfData;
    return false;
  }
  if (width == 0 || height == 0) {
    // Nothing to show; the data is passed over.
    skipSubBlocks();
    return true;
  }
  if (!admitFrame(width, height)) return false;

  // Each pixel needs at most one code, and a clear code before every pixel is the
  // most a coder can spend: 2 codes of at most 12 bits, 3 bytes per pixel.
  const uint64_t maxBytes = 3 * static_cast<uint64_t>(width) * static_cast<uint64_t>(height) + 4096;
  gatherData(maxBytes);

  thread::Owned<bmp::win::Bitmap> raster = thread::make<bmp::win::Bitmap>();
  if (!raster->create(width, height, 8)) return !failed_;
  std::memcpy(raster->getPalette(), localTable_, static_cast<size_t>(localCount) * 4);
  raster->syncColorTable();
  interlaced_ = (packed & kInterlaceFlag) != 0;
  GifLzwTarget target;
  // The raster is bottom-up: the top row is the last one in memory.
  target.topRow = raster->getRow(0);
  target.rowStride = -static_cast<ptrdiff_t>(raster->getStride());
  target.width = width;
  target.height = height;
  target.interlaced = interlaced_;
  const GifLzwDecodeResult result = GifLzw::decode(minCodeSize, data_.data(), data_.size(), target);
  if (result.status != GifLzwDecodeStatus::kComplete) ++damagedFrames_;

  GifFrame frame;
  frame.raster = std::move(raster);
  frame.left = left;
  frame.top = top;
  if (control.seen) {
    frame.transparentIndex = (control.packed & 1) ? control.transparentIndex : -1;
    frame.disposal = (control.packed >> 2) & 7;
    frame.delay = control.delay * 10;
  }
  gif_.appendFrame(std::move(frame));
  if (failed_) {
    status_ = GifReadStatus::kEndOfData;
    return false;
  }
  return true;
}

}  // namespace s::image::gif::win
