#pragma once
// The PNG codec: decodes every PNG (any colour type and depth, interlaced or not)
// into one inner 32-bit Bitmap of blue, green, red, alpha bytes, and encodes that
// raster as an 8-bit RGBA PNG, Adam7-interlaced when asked, through libpng 1.6.
//
// The ICC profile of an iCCP chunk (an RGB one) is kept with the picture and
// written again by write().
//
// A damaged file never ends the process: a library error abandons the read (the
// raster keeps the rows decoded so far, or stays empty) or the write (write
// answers false). Pictures whose raster would pass Bitmap::kMaxPixels are refused
// before any pixel memory is taken.
#include <cstdint>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/png/IPng.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::png::win {

class Png final : public thread::PooledObject<Png, IPng> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_png_win_Png";
  using PooledObject<Png, IPng>::create;

  Png();
  ~Png() override;
  Png(const Png&) = delete;
  Png& operator=(const Png&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override { return raster_->getWidth(); }
  int getHeight() const override { return raster_->getHeight(); }
  const char16_t* getExtension() const override { return u".png"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  // True when every byte reached the stream.
  bool write(io::IOutputStream& out) override;
  // True when every row of the picture was decoded (damage after the image data
  // does not count).
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return false; }
  int getImageCount() const override { return 1; }
  thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) override;
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage* image) override;
  void setColourProfile(const ColourProfile& profile) override { profile_ = profile; }
  ColourProfile getColourProfile() const override { return profile_; }

  // IPng
  bool create(int width, int height) override { return raster_->create(width, height, 32); }
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
  void setInterlace(bool interlace) override { interlace_ = interlace; }
  bool fromBufferedImage(image::win::BufferedImage* image, bool interlace, bool keepTransparency, int red, int green,
                         int blue) override;

  bool getInterlace() const { return interlace_; }
  // Reading with a caller's limit on the picture size (pixels), at most
  // Bitmap::kMaxPixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels);
  bmp::win::Bitmap* getRaster() const { return raster_.get(); }

 private:
  thread::Owned<bmp::win::Bitmap> raster_;
  bool interlace_ = false;
  ColourProfile profile_;
};

}  // namespace s::image::png::win
