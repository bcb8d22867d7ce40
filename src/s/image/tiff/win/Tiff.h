#pragma once
// The TIFF codec, read through libtiff: the first page of the file, upright as its
// Orientation tag says, in one inner 32-bit Bitmap of blue, green, red, alpha
// bytes, straight alpha.
//
// Strips and tiles, every compression the linked libtiff decodes, 1 to 16 bits a
// sample. Gray, RGB, palette and CMYK pictures are read sample by sample
// (TiffSamples), with their alpha (associated or not); the other photometric
// interpretations (YCbCr, CIELab, LogLuv) and old-style JPEG go through libtiff's
// RGBA interface, whose premultiplied result is made straight again. Floating-point and wider samples
// are refused. The ICC profile of the ICCProfile tag (an RGB one) is kept.
//
// The codec counts the file's pages (TiffDirectories) but holds only the first.
// It writes no TIFF: createLike gives none.
//
// Hostile files: the directory chain is checked before libtiff opens the file;
// libtiff's messages go nowhere and its allocations are capped; sizes are checked
// in 64 bits before any buffer is taken, and the picture may hold at most the
// caller's pixel limit (Bitmap::kMaxPixels at most). Any refusal or decoding
// error leaves the codec empty.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {
class Bitmap;
}

namespace s::image::tiff::win {

class Tiff final : public thread::PooledObject<Tiff, IEncodedImage> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_tiff_win_Tiff";

  Tiff();
  ~Tiff() override;
  Tiff(const Tiff&) = delete;
  Tiff& operator=(const Tiff&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override;
  int getHeight() const override;
  const char16_t* getExtension() const override { return u".tif"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  // One picture: the first page.
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  // Nothing is written: false.
  bool write(io::IOutputStream& out) override;
  // True when the first page was decoded; otherwise the codec stays empty.
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return pageCount_ > 1; }
  // The file's pages.
  int getImageCount() const override { return pageCount_; }
  thread::Owned<IEncodedImage> createLike(IImage*) override { return nullptr; }
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage*) override { return nullptr; }
  void setColourProfile(const ColourProfile& profile) override { profile_ = profile; }
  ColourProfile getColourProfile() const override { return profile_; }

  // Reading with a caller's limit on the picture size (pixels), at most
  // Bitmap::kMaxPixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels);

  // Bits a pixel of the first page as stored: bits per sample x samples per pixel.
  int getBitDepth() const { return bitDepth_; }
  bool hasTransparency() const { return transparent_; }
  bmp::win::Bitmap* getRaster() const { return raster_; }

  // Used by the reader.
  void setFileValues(int pageCount, int bitDepth, bool transparent);

 private:
  bmp::win::Bitmap* raster_;
  int pageCount_ = 0;
  int bitDepth_ = 0;
  bool transparent_ = false;
  ColourProfile profile_;
};

}  // namespace s::image::tiff::win
