#pragma once
// The one in-memory pixel image: 32-bit pixels (bytes blue, green, red, alpha;
// straight alpha) in a bottom-up raster owned by a BMP codec Bitmap, in plain
// memory; on Windows the raster becomes a bitmap section only when the image is
// drawn (getBitmapHandle), and then is drawn without conversion.
//
// Conventions:
// - Capacity is the allocated raster; the logical size (width x height) is the part
//   in use and never exceeds it. The picture occupies the top rows and the left
//   columns: row y (0 = top) starts at bits + (capacity height - y - 1) x stride.
// - Output images handed to operations are reused through the capacity: call
//   setSize(0, 0), ensureCapacity (or growCapacity), setSize(w, h).
// - The has-alpha flag is maintained by the operations, never recomputed on its own.
// - Changing the filter chain discards the filtered result; changing pixels does not.
// - Images returned by scaledCopy, applyFilters and getFiltered stay owned by this
//   image; those returned by newImage, copyTo and the rotations (without a target)
//   belong to the caller.
#include <cstdint>

#include "s/image/IBufferedImage.h"
#include "s/image/RasterView.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::image::bmp::win {
class Bitmap;
}

namespace s::image::win {

class BufferedImage final : public thread::PooledObject<BufferedImage, IBufferedImage> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_win_BufferedImage";
  // The pool's create() beside the raster's create(width, height).
  using PooledObject<BufferedImage, IBufferedImage>::create;

  // Resamples source into target (both non-empty views). Answers false when it
  // could not. See setScaleFunction.
  using ScaleFunction = bool (*)(const RasterView& source, const RasterView& target);

  BufferedImage() = default;
  ~BufferedImage() override;
  BufferedImage(const BufferedImage&) = delete;
  BufferedImage& operator=(const BufferedImage&) = delete;

  void reset() override;

  // IImage
  int getWidth() const override { return width_; }
  int getHeight() const override { return height_; }

  // IImageBuffer
  bool isPixelBuffer() const override { return true; }
  BitmapHandle getBitmapHandle() override;
  void setSize(int width, int height) override;
  void ensureCapacity(int width, int height) override;
  bool create(int width, int height) override;
  // As create, but the pixels are left uncleared: for a converter that writes
  // every pixel.
  bool createForOverwrite(int width, int height);
  BufferedImage* newImage(int width, int height) const override;
  // The image a decoder writes width x height pixels into: target made that size
  // (its raster reused when large enough), or without one a new image whose pixels are
  // not cleared (the caller writes every one). 0 x 0 when the size is empty or the
  // raster could not be made.
  static BufferedImage* outputFor(BufferedImage* target, int width, int height);
  int getRowBytes() const override { return rowBytes_; }
  int getCapacityWidth() const override { return capacityWidth_; }
  int getCapacityHeight() const override { return capacityHeight_; }
  int getCapacityRowBytes() const override { return capacityRowBytes_; }
  uint8_t* getLine(int y) override { return bits_ + static_cast<ptrdiff_t>(capacityHeight_ - y - 1) * capacityRowBytes_; }
  uint8_t* getBits() override { return bits_; }
  const uint8_t* getLine(int y) const override {
    return bits_ + static_cast<ptrdiff_t>(capacityHeight_ - y - 1) * capacityRowBytes_;
  }
  const uint8_t* getBits() const override { return bits_; }
  bool hasAlpha() const override { return hasAlpha_; }
  void setAlpha(bool hasAlpha) override { hasAlpha_ = hasAlpha; }
  BufferedImage* getScaledCache() const override { return scaledCache_.get(); }
  void setScaledCache(BufferedImage* image) override;
  void drawTo(DeviceContextHandle dc, int x, int y, int width, int height, bool stretch) override;
  void drawTo(DeviceContextHandle dc, int width, int height, bool stretch) override {
    drawTo(dc, 0, 0, width, height, stretch);
  }
  void drawImage(int x, int y, int width, int height, BufferedImage* source, int sourceX, int sourceY,
                 bool scale) override;
  BufferedImage* scaledCopy(int width, int height, bool keepRatio) override;
  // Composes the rectangle (x, y, width, height) of source onto the same rectangle
  // of this image, as drawImage does, clipped to both pictures.
  void drawArea(int x, int y, int width, int height, const BufferedImage* source);

  // IBufferedImage
  bool writeBmp(io::IOutputStream& out, bmp::EncodeSetting& values) override;
  bool saveBmp(std::u16string_view path, bmp::EncodeSetting& values) override;
  bool writeGif(io::IOutputStream& out, gif::EncodeSetting& values) override;
  bool saveGif(std::u16string_view path, gif::EncodeSetting& values) override;
  bool writeJpeg(io::IOutputStream& out, jpg::EncodeSetting& values) override;
  bool saveJpeg(std::u16string_view path, jpg::EncodeSetting& values) override;
  bool writePng(io::IOutputStream& out, png::EncodeSetting& values) override;
  bool savePng(std::u16string_view path, png::EncodeSetting& values) override;
  BufferedImage* copyTo(BufferedImage* target) const override;
  BufferedImage* rotateRight(BufferedImage* target) const override;
  BufferedImage* rotate180(BufferedImage* target) const override;
  BufferedImage* rotateLeft(BufferedImage* target) const override;
  BufferedImage* mirror(BufferedImage* target) const override;
  BufferedImage* flip(BufferedImage* target) const override;
  bool hasFilters() const override { return !filters_.empty(); }
  bool findFilter(const char16_t* filterId, int* index) const override;
  const FilterChain& getFilters() const override { return filters_; }
  filters::IFilter* getFilter(int index) const override { return filters_[static_cast<size_t>(index)]; }
  void addFilter(filters::IFilter* filter) override;
  void insertFilter(int index, filters::IFilter* filter) override;
  void removeFilter(int index) override;
  void clearFilters() override;
  void detachFilters() override;
  BufferedImage* applyFilters() override;
  BufferedImage* getFiltered() override { return filtered_ ? filtered_.get() : applyFilters(); }
  void print(bool rotate, bool sharpen, bool fit) override;

  // The logical picture as a view for image operations.
  RasterView view() const {
    return RasterView{bits_, width_, height_, capacityHeight_, static_cast<ptrdiff_t>(capacityRowBytes_)};
  }
  int getPixelCount() const { return pixelCount_; }
  int getByteCount() const { return byteCount_; }
  int getCapacityPixelCount() const { return capacityPixelCount_; }
  int getCapacityByteCount() const { return capacityByteCount_; }
  const bmp::win::Bitmap* getRaster() const { return raster_.get(); }

  // The resampler used by scaledCopy: the scale filter's bilinear kernel unless a
  // test installs another (nullptr restores it).
  static void setScaleFunction(ScaleFunction function);
  static ScaleFunction getScaleFunction();

  // Non-virtual pixel operations used by codecs, filters and drawers.
  // Capacity grows by factors of 1.2 (clamped to what a raster can hold).
  static void growCapacity(BufferedImage* image, int width, int height);
  static void detectAlpha(BufferedImage* image);
  static void setOpaque(BufferedImage* image);
  static void fill(BufferedImage* image, int alpha, int red, int green, int blue);
  static void applyColourKey(BufferedImage* image, int red, int green, int blue);
  static void recolourTransparent(BufferedImage* image, int red, int green, int blue);
  static void maskByImage(BufferedImage* image, const BufferedImage* mask);
  static void thresholdAlpha(BufferedImage* image, int threshold);
  static void flattenOnWhite(BufferedImage* image);
  // True when next has a pixel with alpha below threshold where shown has one at or
  // above it (over the area both cover): next drawn over shown cannot make that
  // pixel transparent again, so a viewer must clear shown before drawing next.
  static bool hidesTransparency(const BufferedImage* next, const BufferedImage* shown, int threshold);

 private:
  bool createRaster(int width, int height, bool zeroed);
  void releaseRaster();
  void discardFiltered();
  void releaseIfAutoRelease(filters::IFilter* filter);
  // Makes this image the output of a transformation: size width x height,
  // reusing the raster when it is large enough.
  void prepareOutput(int width, int height);
  // The pixel loop of drawImage and drawArea: columns x rows pixels of source from
  // (fromX, fromY) onto this image at (targetX, targetY), both already clipped.
  void composeRows(const BufferedImage* source, int64_t fromX, int64_t fromY, int64_t targetX, int64_t targetY,
                   int64_t columns, int64_t rows);
  // Target pixel (x, y) = source pixel map(x, y), for the rotations and mirrors.
  template <class Map>
  BufferedImage* transformInto(BufferedImage* target, int targetWidth, int targetHeight, Map map) const;

  thread::Owned<bmp::win::Bitmap> raster_;
  uint8_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int pixelCount_ = 0;
  int byteCount_ = 0;
  int rowBytes_ = 0;
  int capacityWidth_ = 0;
  int capacityHeight_ = 0;
  int capacityPixelCount_ = 0;
  int capacityByteCount_ = 0;
  int capacityRowBytes_ = 0;
  thread::Owned<BufferedImage> scaledCache_;
  bool hasAlpha_ = false;
  FilterChain filters_;
  thread::Owned<BufferedImage> filtered_;
};

}  // namespace s::image::win
