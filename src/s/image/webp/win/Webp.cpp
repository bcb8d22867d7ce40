#include "s/image/webp/win/Webp.h"

#include <cstring>

#include "s/image/EncodeSettingBase.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/util/EncodedBytes.h"
#include "s/image/util/RasterImage.h"
#include "s/image/webp/EncodeSetting.h"
#include "s/image/webp/win/WebpReader.h"
#include "s/image/webp/win/WebpWriter.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::webp::win {

using bmp::win::Bitmap;
using image::win::BufferedImage;
using image::win::BufferedImageSet;

Webp::~Webp() { dropFrames(); }

void Webp::reset() {
  dropFrames();
  lossless_ = false;
  quality_ = kDefaultQuality;
  loopCount_ = 0;
  profile_ = ColourProfile();
}

void Webp::dropFrames() {
  for (WebpFrame& frame : frames_) frame.raster->release();
  frames_.clear();
  transparent_ = false;
}

void Webp::appendFrame(Bitmap* raster, int duration, bool transparent) {
  frames_.push_back({raster, duration, transparent});
  transparent_ = transparent_ || transparent;
}

int Webp::getWidth() const { return frames_.empty() ? 0 : frames_[0].raster->getWidth(); }

int Webp::getHeight() const { return frames_.empty() ? 0 : frames_[0].raster->getHeight(); }

int Webp::getBitDepth() const {
  if (frames_.empty()) return 0;
  return transparent_ ? 32 : 24;
}

BufferedImage* Webp::toBufferedImage(int index, BufferedImage* target) {
  if (index < 0 || index >= getFrameCount()) {
    if (!target) return BufferedImage::create();
    target->setSize(0, 0);
    return target;
  }
  const WebpFrame& frame = frames_[static_cast<size_t>(index)];
  return util::RasterImage::toBufferedImage(*frame.raster, frame.transparent, target);
}

thread::Owned<BufferedImageSet> Webp::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  const bool animated = isAnimated();
  for (int i = 0; i < getFrameCount(); ++i) {
    // Each frame is a whole picture: drawn over a cleared canvas, it is shown as it is.
    set->add(toBufferedImage(i, nullptr), getBitDepth(), frames_[static_cast<size_t>(i)].duration,
             animated ? BufferedImageSet::kDisposeClear : BufferedImageSet::kDisposeUnspecified);
  }
  // The loop count is 16 bits in the file and in the set alike.
  if (animated) set->setAnimation(true, static_cast<int16_t>(loopCount_));
  set->setColourProfile(profile_);
  return set;
}

bool Webp::write(io::IOutputStream& out) {
  WebpEncoding encoding;
  encoding.quality = quality_;
  encoding.lossless = lossless_;
  encoding.loopCount = loopCount_;
  return WebpWriter::encode(frames_, encoding, profile_, out);
}

bool Webp::read(io::IInputStream& in) { return readLimited(in, Bitmap::kMaxPixels); }

bool Webp::readLimited(io::IInputStream& in, int64_t maxPixels, uint64_t maxTotalPixels) {
  reset();
  util::EncodedBytes bytes;
  if (bytes.read(in, util::EncodedBytes::kMaxBytes) != util::EncodedBytesStatus::kRead) return false;
  WebpReader reader(*this, maxPixels, maxTotalPixels);
  if (reader.read(bytes.data(), bytes.size()) != WebpReadStatus::kDecoded) {
    // A refusal leaves nothing: no partial animation.
    reset();
    return false;
  }
  return true;
}

namespace {

// A 32-bit raster of the picture: as it is with its alpha, opaque when it has none,
// or composed onto the colour when transparency is not kept.
Bitmap* rasterOf(BufferedImage* image, bool keepTransparency, int red, int green, int blue) {
  if (!image || image->getWidth() <= 0 || image->getHeight() <= 0) return nullptr;
  thread::Owned<Bitmap> raster = thread::make<Bitmap>();
  if (image->hasAlpha() && !keepTransparency) {
    if (!raster->fromBufferedImage(image, 32, false, red, green, blue)) return nullptr;
    return raster.detach();
  }
  const int width = image->getWidth();
  const int height = image->getHeight();
  if (!raster->createForOverwrite(width, height, 32)) return nullptr;
  const bool opaque = !image->hasAlpha();
  for (int y = 0; y < height; ++y) {
    uint8_t* row = raster->getRow(y);
    std::memcpy(row, image->getLine(y), static_cast<size_t>(width) * 4);
    // An image without alpha may carry any fourth byte; the file must be opaque.
    if (opaque)
      for (int x = 0; x < width; ++x) row[4 * x + 3] = 255;
  }
  return raster.detach();
}

}  // namespace

bool Webp::fromBufferedImage(BufferedImage* image, int quality, bool lossless, bool keepTransparency, int red,
                             int green, int blue) {
  reset();
  quality_ = quality;
  lossless_ = lossless;
  Bitmap* raster = rasterOf(image, keepTransparency, red, green, blue);
  if (!raster) return false;
  appendFrame(raster, 0, util::RasterImage::hasTransparency(*raster));
  return true;
}

bool Webp::fromImageSet(BufferedImageSet* set, int quality, bool lossless, bool keepTransparency, int red, int green,
                        int blue) {
  if (!set || set->getCount() == 0) return false;
  if (set->getCount() <= 1 || !set->isAnimated())
    return fromBufferedImage(EncodeSettingBase::encodingSource(set->getPrimary()), quality, lossless,
                             keepTransparency, red, green, blue);
  reset();
  quality_ = quality;
  lossless_ = lossless;
  loopCount_ = static_cast<uint16_t>(set->getLoopCount());
  for (int i = 0; i < set->getCount(); ++i) {
    Bitmap* raster = rasterOf(EncodeSettingBase::encodingSource(set->getImage(i)), keepTransparency, red, green, blue);
    if (!raster) continue;
    if (!frames_.empty() && (raster->getWidth() != getWidth() || raster->getHeight() != getHeight())) {
      raster->release();
      continue;
    }
    appendFrame(raster, set->getDelay(i), util::RasterImage::hasTransparency(*raster));
  }
  return !frames_.empty();
}

thread::Owned<IEncodedImage> Webp::createLike(IImage* imageOrSet) {
  auto* set = dynamic_cast<BufferedImageSet*>(imageOrSet);
  if (!set) return createLike(dynamic_cast<BufferedImage*>(imageOrSet));
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->lossless = lossless_;
  setting->quality = kDefaultQuality;
  return setting->encodeImageSet(set);
}

thread::Owned<IEncodedImage> Webp::createLike(BufferedImage* image) {
  if (!image) return nullptr;
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->lossless = lossless_;
  setting->quality = kDefaultQuality;
  return setting->encodeImage(image);
}

}  // namespace s::image::webp::win
