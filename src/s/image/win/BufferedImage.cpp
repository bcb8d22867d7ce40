#include "s/image/win/BufferedImage.h"

#include <algorithm>
#include <cstring>

#include "s/file/win/PathWin.h"
#include "s/image/bmp/EncodeSetting.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/EncodeSetting.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/png/EncodeSetting.h"
#include "s/thread/Owned.h"

namespace s::image::win {

BufferedImage::~BufferedImage() = default;

void BufferedImage::reset() {
  releaseRaster();
  setScaledCache(nullptr);
  clearFilters();
  hasAlpha_ = false;
}

void BufferedImage::releaseRaster() {
  raster_.reset();
  bits_ = nullptr;
  capacityWidth_ = capacityHeight_ = capacityPixelCount_ = capacityByteCount_ = capacityRowBytes_ = 0;
  setSize(0, 0);
}

BitmapHandle BufferedImage::getBitmapHandle() {
  if (!raster_) return nullptr;
  BitmapHandle handle = raster_->getHandle();
  bits_ = raster_->getBits();  // the pixels may have moved into the section
  return handle;
}

void BufferedImage::setSize(int width, int height) {
  // Kept inside the capacity, so that no later row or pixel access can leave the
  // raster whatever a caller asked for.
  width_ = std::clamp(width, 0, capacityWidth_);
  height_ = std::clamp(height, 0, capacityHeight_);
  // The capacity holds at most 2^31 bytes, so none of these overflow.
  pixelCount_ = width_ * height_;
  byteCount_ = pixelCount_ * 4;
  rowBytes_ = width_ * 4;
}

bool BufferedImage::create(int width, int height) { return createRaster(width, height, true); }

bool BufferedImage::createForOverwrite(int width, int height) { return createRaster(width, height, false); }

bool BufferedImage::createRaster(int width, int height, bool zeroed) {
  releaseRaster();
  if (width <= 0 || height <= 0) return false;
  thread::Owned<bmp::win::Bitmap> raster(bmp::win::Bitmap::create());
  if (!(zeroed ? raster->create(width, height, 32) : raster->createForOverwrite(width, height, 32))) return false;
  bits_ = raster->getBits();
  raster_ = std::move(raster);
  capacityWidth_ = width;
  capacityHeight_ = height;
  capacityPixelCount_ = width * height;
  capacityByteCount_ = capacityPixelCount_ * 4;
  capacityRowBytes_ = width * 4;
  setSize(width, height);
  return true;
}

void BufferedImage::ensureCapacity(int width, int height) {
  if (width <= capacityWidth_ && height <= capacityHeight_) return;
  const int keptWidth = width_;
  const int keptHeight = height_;
  // Take the old raster over so that create() does not release it yet.
  thread::Owned<bmp::win::Bitmap> oldRaster = std::move(raster_);
  const uint8_t* oldBits = bits_;
  const int oldCapacityHeight = capacityHeight_;
  const ptrdiff_t oldStride = capacityRowBytes_;
  bits_ = nullptr;
  create(width, height);
  if (oldRaster) {
    // Only what fits in both rasters is copied.
    const int rows = std::min(keptHeight, capacityHeight_);
    const size_t rowBytes = static_cast<size_t>(std::min(keptWidth, capacityWidth_)) * 4;
    for (int y = 0; y < rows && bits_; ++y)
      std::memcpy(getLine(y), oldBits + static_cast<ptrdiff_t>(oldCapacityHeight - y - 1) * oldStride, rowBytes);
  }
  setSize(keptWidth, keptHeight);
}

void BufferedImage::growCapacity(BufferedImage* image, int width, int height) {
  if (width <= image->capacityWidth_ && height <= image->capacityHeight_) return;
  // Steps of the single-precision 1.2, as the sizes are held in floats; a size
  // that would pass the int range is clamped (the raster is then refused).
  auto grown = [](int capacity, int requested) {
    float size = static_cast<float>(capacity > 0 ? capacity : requested);
    while (size < static_cast<float>(requested)) {
      size = size * 1.2f;
      if (size >= 2147483520.0f) return INT32_MAX;
    }
    return static_cast<int>(size);
  };
  image->ensureCapacity(grown(image->capacityWidth_, width), grown(image->capacityHeight_, height));
}

BufferedImage* BufferedImage::newImage(int width, int height) const {
  BufferedImage* image = create();
  image->create(width, height);
  return image;
}

BufferedImage* BufferedImage::outputFor(BufferedImage* target, int width, int height) {
  if (!target) {
    target = create();
    if (width > 0 && height > 0) target->createForOverwrite(width, height);
  } else {
    target->prepareOutput(width, height);
  }
  if (width <= 0 || height <= 0 || target->getWidth() != width || target->getHeight() != height) target->setSize(0, 0);
  return target;
}

void BufferedImage::prepareOutput(int width, int height) {
  setSize(0, 0);
  ensureCapacity(width, height);
  setSize(width, height);
}

void BufferedImage::setScaledCache(BufferedImage* image) {
  if (scaledCache_.get() != image) scaledCache_.reset(image);
}

BufferedImage* BufferedImage::copyTo(BufferedImage* target) const {
  if (target == this) return target;
  if (!target) {
    target = newImage(width_, height_);
  } else {
    target->create(width_, height_);
  }
  if (target->width_ == width_ && target->height_ == height_) {
    for (int y = 0; y < height_; ++y) std::memcpy(target->getLine(y), getLine(y), static_cast<size_t>(rowBytes_));
  }
  target->hasAlpha_ = hasAlpha_;
  return target;
}

template <class Map>
BufferedImage* BufferedImage::transformInto(BufferedImage* target, int targetWidth, int targetHeight,
                                            Map map) const {
  if (target == this) {
    // In place: transform into a new image and copy the result back.
    thread::Owned<BufferedImage> result(transformInto(nullptr, targetWidth, targetHeight, map));
    result->copyTo(target);
    return target;
  }
  if (!target) {
    target = newImage(targetWidth, targetHeight);
  } else {
    target->prepareOutput(targetWidth, targetHeight);
  }
  if (target->width_ == targetWidth && target->height_ == targetHeight) {
    for (int y = 0; y < targetHeight; ++y) {
      auto* out = reinterpret_cast<uint32_t*>(target->getLine(y));
      for (int x = 0; x < targetWidth; ++x) {
        int sourceX = 0;
        int sourceY = 0;
        map(x, y, &sourceX, &sourceY);
        std::memcpy(out + x, getLine(sourceY) + static_cast<ptrdiff_t>(sourceX) * 4, 4);
      }
    }
  }
  target->hasAlpha_ = hasAlpha_;
  return target;
}

BufferedImage* BufferedImage::rotateRight(BufferedImage* target) const {
  const int h = height_;
  return transformInto(target, height_, width_, [h](int x, int y, int* sx, int* sy) {
    *sx = y;
    *sy = h - 1 - x;
  });
}

BufferedImage* BufferedImage::rotate180(BufferedImage* target) const {
  const int w = width_, h = height_;
  return transformInto(target, width_, height_, [w, h](int x, int y, int* sx, int* sy) {
    *sx = w - 1 - x;
    *sy = h - 1 - y;
  });
}

BufferedImage* BufferedImage::rotateLeft(BufferedImage* target) const {
  const int w = width_;
  return transformInto(target, height_, width_, [w](int x, int y, int* sx, int* sy) {
    *sx = w - 1 - y;
    *sy = x;
  });
}

BufferedImage* BufferedImage::mirror(BufferedImage* target) const {
  const int w = width_;
  return transformInto(target, width_, height_, [w](int x, int y, int* sx, int* sy) {
    *sx = w - 1 - x;
    *sy = y;
  });
}

BufferedImage* BufferedImage::flip(BufferedImage* target) const {
  const int h = height_;
  return transformInto(target, width_, height_, [h](int x, int y, int* sx, int* sy) {
    *sx = x;
    *sy = h - 1 - y;
  });
}

BufferedImage* BufferedImage::scaledCopy(int width, int height, bool keepRatio) {
  // An empty picture has nothing to scale, and a resampler must never see one.
  if (width_ <= 0 || height_ <= 0) return this;
  if (keepRatio) {
    const double ratioWidth = static_cast<double>(width) / width_;
    const double ratioHeight = static_cast<double>(height) / height_;
    if (ratioWidth != ratioHeight) {
      if (ratioHeight < ratioWidth) {
        width = static_cast<int>(width_ * ratioHeight);
      } else {
        height = static_cast<int>(height_ * ratioWidth);
      }
    }
  }
  if (width == width_ && height == height_) return this;
  if (width <= 0 || height <= 0) return this;
  if (scaledCache_ && scaledCache_->width_ == width && scaledCache_->height_ == height) return scaledCache_.get();
  if (!scaledCache_) {
    setScaledCache(newImage(width, height));
  } else {
    scaledCache_->prepareOutput(width, height);
  }
  if (scaledCache_->width_ != width || scaledCache_->height_ != height) return this;
  getScaleFunction()(view(), scaledCache_->view());
  scaledCache_->hasAlpha_ = hasAlpha_;
  return scaledCache_.get();
}

void BufferedImage::drawImage(int x, int y, int width, int height, BufferedImage* source, int sourceX, int sourceY,
                              bool scale) {
  if (!source || !bits_) return;
  if (scale) source = source->scaledCopy(width, height, false);
  // 64-bit positions: moving a far-negative x into the source must not overflow.
  int64_t targetX = x, targetY = y, fromX = sourceX, fromY = sourceY;
  if (targetX < 0) {
    fromX -= targetX;
    targetX = 0;
  }
  if (targetY < 0) {
    fromY -= targetY;
    targetY = 0;
  }
  if (fromX < 0) {
    targetX -= fromX;
    fromX = 0;
  }
  if (fromY < 0) {
    targetY -= fromY;
    fromY = 0;
  }
  const int64_t columns = std::min<int64_t>(source->width_ - fromX, width_ - targetX);
  const int64_t rows = std::min<int64_t>(source->height_ - fromY, height_ - targetY);
  composeRows(source, fromX, fromY, targetX, targetY, columns, rows);
}

void BufferedImage::drawArea(int x, int y, int width, int height, const BufferedImage* source) {
  if (!source || !bits_) return;
  // The area clipped to both pictures, in 64 bits so that x + width cannot wrap.
  const int64_t left = std::max(x, 0);
  const int64_t top = std::max(y, 0);
  const int64_t right = std::min<int64_t>({static_cast<int64_t>(x) + width, width_, source->width_});
  const int64_t bottom = std::min<int64_t>({static_cast<int64_t>(y) + height, height_, source->height_});
  composeRows(source, left, top, left, top, right - left, bottom - top);
}

void BufferedImage::composeRows(const BufferedImage* source, int64_t fromX, int64_t fromY, int64_t targetX,
                                int64_t targetY, int64_t columns, int64_t rows) {
  if (columns <= 0 || rows <= 0) return;
  for (int64_t i = 0; i < rows; ++i) {
    const uint8_t* from = source->getLine(static_cast<int>(fromY + i)) + fromX * 4;
    uint8_t* to = getLine(static_cast<int>(targetY + i)) + targetX * 4;
    if (!source->hasAlpha_) {
      std::memmove(to, from, static_cast<size_t>(columns) * 4);
      continue;
    }
    for (int64_t c = 0; c < columns; ++c, from += 4, to += 4) {
      if (!hasAlpha_) to[3] = 255;
      const int a = from[3];
      const int b = to[3];
      if (a == 0) continue;
      if (a == 255 || b == 0) {
        std::memcpy(to, from, 4);
        continue;
      }
      // Straight-alpha "over": g is the combined alpha (a + b - a*b, in 8 bits),
      // w the source's share of the colour. g > a >= 1, so w is defined.
      const int g = a - (((a + 1) * b) >> 8) + b;
      const int w = (a * 256) / g;
      for (int k = 0; k < 3; ++k) to[k] = static_cast<uint8_t>((((from[k] - to[k]) * w) >> 8) + to[k]);
      to[3] = static_cast<uint8_t>(g);
    }
  }
}

bool BufferedImage::findFilter(const char16_t* filterId, int* index) const {
  for (size_t i = 0; i < filters_.size(); ++i) {
    if (filters_[i]->getFilterId() == filterId) {
      if (index) *index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

void BufferedImage::discardFiltered() {
  filtered_.reset();
}

void BufferedImage::releaseIfAutoRelease(filters::IFilter* filter) {
  if (filter && filter->isAutoRelease()) filter->release();
}

void BufferedImage::addFilter(filters::IFilter* filter) {
  if (!filter) return;
  filters_.push_back(filter);
  discardFiltered();
}

void BufferedImage::insertFilter(int index, filters::IFilter* filter) {
  if (!filter) return;
  const size_t at = index < 0 ? 0 : std::min(static_cast<size_t>(index), filters_.size());
  filters_.insert(filters_.begin() + static_cast<ptrdiff_t>(at), filter);
  discardFiltered();
}

void BufferedImage::removeFilter(int index) {
  if (index < 0 || static_cast<size_t>(index) >= filters_.size()) return;
  filters::IFilter* filter = filters_[static_cast<size_t>(index)];
  filters_.erase(filters_.begin() + index);
  releaseIfAutoRelease(filter);
  discardFiltered();
}

void BufferedImage::clearFilters() {
  for (filters::IFilter* filter : filters_) releaseIfAutoRelease(filter);
  filters_.clear();
  discardFiltered();
}

void BufferedImage::detachFilters() {
  filters_.clear();
  discardFiltered();
}

BufferedImage* BufferedImage::applyFilters() {
  discardFiltered();
  for (size_t i = 0; i < filters_.size(); ++i) {
    BufferedImage* input = i == 0 ? this : filtered_.get();
    thread::Owned<BufferedImage> output(create());
    BufferedImage* result = filters_[i]->apply(input, output.get());
    thread::Owned<BufferedImage> kept;
    if (result == output.get()) {
      kept = std::move(output);
    } else if (result == input) {
      // A filter that passes its input on: own a copy, never this image itself.
      input->copyTo(output.get());
      kept = std::move(output);
    } else {
      kept.reset(result);  // a new image of the filter's own
    }
    // The previous result, if it was this step's input, is copied or done with.
    filtered_ = std::move(kept);
    if (!filtered_) break;
  }
  if (filtered_) detectAlpha(filtered_.get());
  return filtered_.get();
}

namespace {

template <class Setting>
bool writeWith(BufferedImage* image, io::IOutputStream& out, Setting& values) {
  thread::Owned<IEncodedImage> codec = values.encodeImage(image);
  return codec && codec->write(out);
}

template <class Setting>
bool saveWith(BufferedImage* image, std::u16string_view path, Setting& values) {
  thread::Owned<file::win::PathWin> object(file::win::PathWin::fromText(path));
  thread::Owned<file::win::FileOutputStream> stream = object->openOutput();
  const bool written = stream->isOpen() && writeWith(image, *stream, values);
  const bool closed = stream->close();
  return written && closed;
}

}  // namespace

bool BufferedImage::saveBmp(std::u16string_view path, bmp::EncodeSetting& values) {
  return saveWith(this, path, values);
}

bool BufferedImage::saveGif(std::u16string_view path, gif::EncodeSetting& values) {
  return saveWith(this, path, values);
}

bool BufferedImage::saveJpeg(std::u16string_view path, jpg::EncodeSetting& values) {
  return saveWith(this, path, values);
}

bool BufferedImage::savePng(std::u16string_view path, png::EncodeSetting& values) {
  return saveWith(this, path, values);
}

bool BufferedImage::writeBmp(io::IOutputStream& out, bmp::EncodeSetting& values) { return writeWith(this, out, values); }

bool BufferedImage::writeGif(io::IOutputStream& out, gif::EncodeSetting& values) { return writeWith(this, out, values); }

bool BufferedImage::writeJpeg(io::IOutputStream& out, jpg::EncodeSetting& values) {
  return writeWith(this, out, values);
}

bool BufferedImage::writePng(io::IOutputStream& out, png::EncodeSetting& values) { return writeWith(this, out, values); }

}  // namespace s::image::win
