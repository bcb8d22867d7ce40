#pragma once
// The JPEG codec: decodes every JPEG (colour, grayscale, CMYK/YCCK) into one inner
// 24-bit Bitmap and encodes that raster as a baseline colour JPEG at the codec's
// quality, through libjpeg (libjpeg-turbo's 6b interface).
//
// The ICC profile of the APP2 segments (an RGB one) is kept with the picture and
// written again by write().
//
// A picture whose APP1 Exif block records an orientation (2-8) is turned upright
// as it is read, as viewers show it: the raster, width and height are those of the
// upright picture (a quarter turn swaps them). A damaged Exif block is ignored.
//
// A damaged file never ends the process: a fatal library error abandons the read
// (the raster keeps what was decoded, or stays empty) or the write (write answers
// false). A file cut short decodes to full size, the missing part filled in by the
// library. Pictures whose raster would pass Bitmap::kMaxPixels are not decoded.
#include <cstdint>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/jpg/IJpeg.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::jpg::win {

class Jpeg final : public thread::PooledObject<Jpeg, IJpeg> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_jpg_win_Jpeg";
  static constexpr int kDefaultQuality = 75;
  using PooledObject<Jpeg, IJpeg>::create;

  Jpeg();
  ~Jpeg() override;
  Jpeg(const Jpeg&) = delete;
  Jpeg& operator=(const Jpeg&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override { return raster_->getWidth(); }
  int getHeight() const override { return raster_->getHeight(); }
  const char16_t* getExtension() const override { return u".jpg"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  // True when every byte reached the stream.
  bool write(io::IOutputStream& out) override;
  // True when decoding ran to the end of the picture (warnings about damaged or
  // missing data included); false after a fatal error or a refused size.
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return false; }
  int getImageCount() const override { return 1; }
  thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) override;
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage* image) override;
  void setColourProfile(const ColourProfile& profile) override { profile_ = profile; }
  ColourProfile getColourProfile() const override { return profile_; }

  // IJpeg
  bool create(int width, int height) override { return raster_->create(width, height, 24); }
  bool copyFromHandle(BitmapHandle bitmap) override { return raster_->copyFromHandle(bitmap); }
  bool drawToHandle(BitmapHandle bitmap) const override { return raster_->drawToHandle(bitmap); }
  int getBitCount() const override { return raster_->getBitCount(); }
  int getStride() const override { return raster_->getStride(); }
  bool hasAlphaChannel() const override { return raster_->hasAlphaChannel(); }
  bool hasPalette() const override { return raster_->hasPalette(); }
  int getPaletteCount() const override { return raster_->getPaletteCount(); }
  int getPaletteSize() const override { return raster_->getPaletteSize(); }
  uint8_t* getRow(int y) override { return raster_->getRow(y); }
  uint8_t* getBits() override { return raster_->getBits(); }
  void setQuality(int quality) override { quality_ = quality; }
  bool fromBufferedImage(image::win::BufferedImage* image, int quality, int red, int green, int blue) override;

  int getQuality() const { return quality_; }
  // Reading with a caller's limit on the picture size (pixels), at most
  // Bitmap::kMaxPixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels);
  bmp::win::Bitmap* getRaster() const { return raster_.get(); }

 private:
  thread::Owned<bmp::win::Bitmap> raster_;
  int quality_ = kDefaultQuality;
  ColourProfile profile_;
};

}  // namespace s::image::jpg::win
