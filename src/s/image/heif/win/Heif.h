#pragma once
// The HEIF codec for HEIC (HEVC) and AVIF (AV1) files, read through libheif.
//
// The file's primary image is decoded to 8-bit RGB(A) (10- and 12-bit samples are
// scaled to 8 bits; PQ and HLG are not tone-mapped) into one inner 32-bit Bitmap of
// blue, green, red, alpha bytes, straight alpha. libheif applies the file's
// geometry: the clean aperture (clap), the rotation (irot) and the mirroring
// (imir); an Exif orientation inside the file is then not applied again. The ICC
// profile of a "colr" box (an RGB one) is kept; files with only an nclx colour
// description have none.
//
// The codec counts the file's top-level images (a grid of tiles is one picture; a
// thumbnail or alpha plane is none) but holds only the primary one. It writes no
// HEIF: createLike gives none.
//
// Hostile files: the box structure is checked first (IsoBoxes), and a file that
// fails is refused without libheif; libheif is given the same side limit, and the
// decoded picture may hold at most the caller's pixel limit (Bitmap::kMaxPixels at
// most). Any refusal, of ours or of the library's, leaves the codec empty.
#include <cstdint>

#include "s/image/IEncodedImage.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {
class Bitmap;
}

namespace s::image::heif::win {

class Heif final : public thread::PooledObject<Heif, IEncodedImage> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_heif_win_Heif";

  Heif();
  ~Heif() override;
  Heif(const Heif&) = delete;
  Heif& operator=(const Heif&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override;
  int getHeight() const override;
  // ".avif" for a file whose brands say AV1, else ".heic".
  const char16_t* getExtension() const override { return avif_ ? u".avif" : u".heic"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  // One picture: the primary image.
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  // Nothing is written: false.
  bool write(io::IOutputStream& out) override;
  // True when the primary image was decoded; otherwise the codec stays empty.
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return imageCount_ > 1; }
  // The file's top-level images.
  int getImageCount() const override { return imageCount_; }
  thread::Owned<IEncodedImage> createLike(IImage*) override { return nullptr; }
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage*) override { return nullptr; }
  void setColourProfile(const ColourProfile& profile) override { profile_ = profile; }
  ColourProfile getColourProfile() const override { return profile_; }

  // Reading with a caller's limit on the picture size (pixels), at most
  // Bitmap::kMaxPixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels);

  bool isAvif() const { return avif_; }
  // The luma bit depth of the primary image as coded (8, 10, 12); 0 when empty.
  int getBitDepth() const { return bitDepth_; }
  bool hasTransparency() const { return transparent_; }
  bmp::win::Bitmap* getRaster() const { return raster_; }

  // Used by the reader.
  void setFileValues(bool avif, int imageCount, int bitDepth, bool transparent);

 private:
  bmp::win::Bitmap* raster_;
  bool avif_ = false;
  int imageCount_ = 0;
  int bitDepth_ = 0;
  bool transparent_ = false;
  ColourProfile profile_;
};

}  // namespace s::image::heif::win
