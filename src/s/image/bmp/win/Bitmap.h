#pragma once
// The BMP codec and the raster of every codec: a device-independent bitmap held as
// a BMP file stores it (file header, information header, colour table, bottom-up
// rows padded to 4 bytes).
//
// The raster is always in a form this codec writes back unchanged: 40-byte header,
// positive height, no run-length compression, 1/4/8/16/24/32 bits per pixel; 16-bit
// rasters may carry bit-field masks (compression 3, masks in the first three
// colour-table words). The reader brings every other accepted file into that form.
// Pixel conversions are the library's own code, identical on every system; the
// platform is used for drawing only. The pixels are plain memory (RasterMemory);
// on Windows getHandle() moves them into a bitmap section GDI can draw.
#include <cstdint>

#include "s/image/bmp/BmpFormat.h"
#include "s/image/bmp/IBitmap.h"
#include "s/image/bmp/win/RasterMemory.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {

// What a reader or encoder asks a raster to become.
struct RasterLayout {
  int width = 0;
  int height = 0;  // rows; the raster is bottom-up
  int bitCount = 32;
  uint32_t compression = kCompressionNone;  // or kCompressionBitFields for 16-bit masks
  // Up to 8 bits: the colours (paletteCount entries, 2^bitCount when that is 0);
  // bit fields: the red, green and blue masks. None leaves the table zero.
  const uint32_t* colorTable = nullptr;
  int paletteCount = 0;  // colours-used value; 0 means 2^bitCount (up to 8 bits)
  // False leaves the pixel memory as it comes: for callers that write every row.
  bool zeroed = true;
};

class Bitmap final : public thread::PooledObject<Bitmap, IBitmap> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_bmp_win_Bitmap";
  // The largest raster accepted: a 32-bit picture of this many pixels still has a
  // byte count that fits in a signed 32-bit int.
  static constexpr int64_t kMaxPixels = INT32_MAX / 4;
  // The pool's create() beside the raster's create(width, height, bitCount).
  using PooledObject<Bitmap, IBitmap>::create;

  Bitmap();
  ~Bitmap() override;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override { return info_.width; }
  int getHeight() const override { return info_.height; }
  const char16_t* getExtension() const override { return u".bmp"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  bool write(io::IOutputStream& out) override;
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return false; }
  int getImageCount() const override { return 1; }
  thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) override;
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage* image) override;

  // IBitmap
  bool create(int width, int height, int bitCount) override;
  // As create, but the pixels are left uncleared: for a decoder or converter that
  // writes every row (and clears what it could not write).
  bool createForOverwrite(int width, int height, int bitCount);
  bool copyFromHandle(BitmapHandle bitmap) override;
  bool createFromIcon(IconHandle icon) override;
  bool drawToHandle(BitmapHandle bitmap) const override;
  int getBitCount() const override { return info_.bitCount; }
  int getStride() const override { return stride_; }
  bool hasAlphaChannel() const override;
  bool hasPalette() const override { return paletteCount_ != 0; }
  int getPaletteCount() const override { return paletteCount_; }
  int getPaletteSize() const override { return paletteCount_ * 4; }
  uint32_t* getPalette() override { return colorTable_; }
  uint8_t* getRow(int y) override { return bits_ + static_cast<ptrdiff_t>(info_.height - 1 - y) * stride_; }
  uint8_t* getBits() override { return bits_; }
  bool hasTransparentColor() const override { return transparentColor_ >= 0; }
  void setTransparentColor(int red, int green, int blue) override;
  bool writeDib(io::IOutputStream& out) override;
  bool readDib(io::IInputStream& in) override;
  bool fromBufferedImage(image::win::BufferedImage* image, int bitCount, bool keepTransparency, int red, int green,
                         int blue) override;

  // Reading with a caller's limit on the picture size (pixels), below kMaxPixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels);
  bool readDibLimited(io::IInputStream& in, int64_t maxPixels);
  // Replaces the raster with a zeroed one of the given layout; false (empty raster)
  // when the layout is out of range or the memory was refused.
  bool createRaster(const RasterLayout& layout);
  // Converts row y (from the top) to 32-bit blue, green, red, 0 pixels: colour
  // table for 1/4/8 bits, 5-5-5 or the bit-field masks for 16, bytes for 24/32.
  void convertRow(int y, uint8_t* bgra) const;
  const uint8_t* getRow(int y) const { return bits_ + static_cast<ptrdiff_t>(info_.height - 1 - y) * stride_; }
  const uint32_t* getPalette() const { return colorTable_; }
  const FileHeader& getFileHeader() const { return fileHeader_; }
  const InfoHeader& getInfoHeader() const { return info_; }
  int getTransparentColor() const { return transparentColor_; }
  // The bitmap section holding the pixels, made on first use (Windows; null
  // elsewhere). Making it moves the pixels: take row pointers after.
  BitmapHandle getHandle();
  // Tells the platform object, if one was made, that the colour table changed.
  void syncColorTable() { memory_.setColorTable(colorTable_, paletteCount_ <= 256 ? paletteCount_ : 256); }

 private:
  void clearRaster();
  void updateDerivedFields();
  bool encodeIndexed(image::win::BufferedImage* image, int bitCount);
  static int paletteCountOf(const InfoHeader& info);

  RasterMemory memory_;
  FileHeader fileHeader_;
  InfoHeader info_;
  uint32_t colorTable_[kMaxPaletteEntries];
  uint8_t* bits_ = nullptr;
  int stride_ = 0;
  int paletteCount_ = 0;
  int transparentColor_ = -1;
};

}  // namespace s::image::bmp::win
