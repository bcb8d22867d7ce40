#pragma once
// One image of an icon file (see IIconImage.h): the colour raster is a BMP codec
// Bitmap, the mask a byte buffer, the encoded bytes the entry's data as read (or as
// serialised when needed).
//
// Entry data is one of:
// - a PNG stream (it starts with the PNG signature): decoded to a 32-bit image; its
//   bytes are kept as they are, so a PNG entry is written back unchanged;
// - a DIB: a 40-byte (or longer) information header whose height counts the colour
//   rows and the mask rows together, the colour table, the colour rows and the mask
//   rows. The header is checked as the BMP codec checks one (after halving the
//   height, which must stay above 0); only uncompressed colour rows are read, at most
//   256 colour-table entries are used, and rows the data does not hold stay zero.
//
// Images wider or taller than 255 pixels are written as PNG streams.
#include <cstdint>
#include <vector>

#include "s/image/bmp/BmpFormat.h"
#include "s/image/ico/IIconImage.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::image::bmp::win {
class Bitmap;
}

namespace s::image::ico::win {

class IconImage final : public thread::PooledObject<IconImage, IIconImage> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_ico_win_IconImage";
  // Entry data beyond this many bytes is not read.
  static constexpr size_t kMaxEncodedBytes = size_t{256} << 20;
  // Largest width or height written as a DIB; larger images are written as PNG.
  static constexpr int kMaxDibSide = 255;
  // Icon images are at most this wide and tall: sizes travel in 16 bits through the
  // encoder's (depth, size) pairs.
  static constexpr int kMaxSide = 65535;
  // Pixels of the transparent mask of depths other than 32 below this alpha.
  static constexpr int kAlphaThreshold = 32;
  using PooledObject<IconImage, IIconImage>::create;

  IconImage();
  ~IconImage() override;
  IconImage(const IconImage&) = delete;
  IconImage& operator=(const IconImage&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override;
  int getHeight() const override;
  const char16_t* getExtension() const override { return u".ico"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  // The entry data: a PNG stream above 255 pixels, else the DIB.
  bool write(io::IOutputStream& out) override;
  // Reads the stream to its end as the entry data and decodes it; true when the
  // image was decoded whole.
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return false; }
  int getImageCount() const override { return 1; }
  // Not supported: none.
  thread::Owned<IEncodedImage> createLike(IImage*) override { return nullptr; }
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage*) override { return nullptr; }

  // IIconImage
  bool create(int width, int height, int bitCount) override;
  bool copyFromHandle(BitmapHandle) override { return false; }
  bool drawToHandle(BitmapHandle bitmap) const override;
  IconHandle createIconHandle() override;
  int getBitCount() const override { return info_.bitCount; }
  bool is32Bit() const override { return info_.bitCount == 32; }
  bool hasPalette() const override { return getPaletteCount() != 0; }
  int getPaletteCount() const override;
  int getPaletteSize() const override { return getPaletteCount() * 4; }
  uint8_t* getRow(int y) override;
  uint8_t* getBits() override;
  int getStride() const override;
  uint8_t* getMaskRow(int y) override;
  uint8_t* getMask() override { return mask_.empty() ? nullptr : mask_.data(); }
  int getMaskStride() const override { return maskStride_; }
  bool fromBufferedImage(image::win::BufferedImage* image, int bitCount, bool keepTransparency, int red, int green,
                         int blue) override;

  // Reading with a cap on the picture's pixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels);
  // The entry data as read or last serialised (empty when neither).
  const col::_array::ArrayU08& getEncoded() const { return *encoded_; }
  // Serialises the image into the encoded bytes when they are empty.
  bool ensureEncoded();
  const bmp::win::Bitmap* getRaster() const { return raster_.get(); }
  // Whether the mask marks pixel (x, y) (from the top) transparent.
  bool isMasked(int x, int y) const;

 private:
  void clearImage();
  bool decodePng(int64_t maxPixels);
  bool decodeDib(int64_t maxPixels);
  // fromBufferedImage without touching the encoded bytes.
  bool build(image::win::BufferedImage* image, int bitCount, bool keepTransparency, int red, int green, int blue);
  void writeColourRows(image::win::BufferedImage* source, int bitCount);
  void writeIndexedRows(image::win::BufferedImage* source, int bitCount);
  bool writeDib(io::IOutputStream& out);

  thread::Owned<bmp::win::Bitmap> raster_;
  thread::Owned<col::_array::ArrayU08> encoded_;
  bmp::InfoHeader info_;  // height undoubled
  std::vector<uint8_t> mask_;
  int maskStride_ = 0;
};

}  // namespace s::image::ico::win
