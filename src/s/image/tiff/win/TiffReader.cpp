#include "s/image/tiff/win/TiffReader.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "s/image/ColourProfile.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/jpg/ExifOrientation.h"
#include "s/image/tiff/TiffSamples.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/util/UprightRows.h"
#include "s/thread/Owned.h"

namespace s::image::tiff::win {

namespace {

using bmp::win::Bitmap;
using jpg::ExifOrientation;
using util::UprightRows;

// ---- libtiff over the bytes in memory ----

struct MemoryFile {
  const uint8_t* data;
  uint64_t size;
  uint64_t position;
};

tmsize_t readBytes(thandle_t handle, void* buffer, tmsize_t count) {
  auto* file = static_cast<MemoryFile*>(handle);
  if (count <= 0 || file->position >= file->size) return 0;
  const uint64_t take = std::min<uint64_t>(static_cast<uint64_t>(count), file->size - file->position);
  std::memcpy(buffer, file->data + file->position, static_cast<size_t>(take));
  file->position += take;
  return static_cast<tmsize_t>(take);
}

tmsize_t writeNothing(thandle_t, void*, tmsize_t) { return 0; }

toff_t seekTo(thandle_t handle, toff_t offset, int whence) {
  auto* file = static_cast<MemoryFile*>(handle);
  // Unsigned arithmetic: a move back arrives as a wrapped offset and wraps back.
  // A position past the end only reads nothing; libtiff checks what it gets.
  if (whence == SEEK_CUR) {
    file->position += offset;
  } else if (whence == SEEK_END) {
    file->position = file->size + offset;
  } else {
    file->position = offset;
  }
  return file->position;
}

int closeNothing(thandle_t) { return 0; }

toff_t sizeOf(thandle_t handle) { return static_cast<MemoryFile*>(handle)->size; }

// The bytes are the mapping: libtiff reads strips in place.
int mapBytes(thandle_t handle, void** base, toff_t* size) {
  auto* file = static_cast<MemoryFile*>(handle);
  *base = const_cast<uint8_t*>(file->data);
  *size = file->size;
  return 1;
}

void unmapNothing(thandle_t, void*, toff_t) {}

int ignoreMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// The process-wide handlers, for messages libtiff reports without its file; set
// once, to nothing.
void silenceLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
  });
}

struct TiffClose {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFree {
  void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};
using TiffFile = std::unique_ptr<TIFF, TiffClose>;

TiffFile open(MemoryFile& file) {
  silenceLibrary();
  std::unique_ptr<TIFFOpenOptions, OptionsFree> options(TIFFOpenOptionsAlloc());
  if (!options) return nullptr;
  TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), TiffReader::kMaxBufferBytes);
  TIFFOpenOptionsSetErrorHandlerExtR(options.get(), ignoreMessage, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options.get(), ignoreMessage, nullptr);
  return TiffFile(TIFFClientOpenExt("picture", "r", &file, readBytes, writeNothing, seekTo, closeNothing, sizeOf,
                                    mapBytes, unmapNothing, options.get()));
}

// ---- the first page's fields ----

struct Page {
  uint32_t width = 0;
  uint32_t height = 0;
  uint16_t bitsPerSample = 1;
  uint16_t samplesPerPixel = 1;
  uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t sampleFormat = SAMPLEFORMAT_UINT;
  uint16_t compression = COMPRESSION_NONE;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  uint16_t extraCount = 0;
  const uint16_t* extraTypes = nullptr;
};

Page pageOf(TIFF* tif) {
  Page page;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &page.width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &page.height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &page.bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &page.samplesPerPixel);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &page.planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &page.sampleFormat);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &page.compression);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ORIENTATION, &page.orientation);
  uint16_t* types = nullptr;
  if (TIFFGetFieldDefaulted(tif, TIFFTAG_EXTRASAMPLES, &page.extraCount, &types)) page.extraTypes = types;
  else page.extraCount = 0;
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &page.photometric))
    page.photometric = page.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
  return page;
}

ColourProfile profileOf(TIFF* tif) {
  uint32_t size = 0;
  void* data = nullptr;
  if (!TIFFGetField(tif, TIFFTAG_ICCPROFILE, &size, &data) || !data) return {};
  return ColourProfile::fromBytes(static_cast<const uint8_t*>(data), size);
}

// The format the sample path reads the page in, or false when it does not read it.
bool sampleFormatOf(TIFF* tif, const Page& page, TiffPixelFormat* format) {
  if (page.compression == COMPRESSION_OJPEG) return false;  // libtiff's RGBA interface handles its quirks
  if (page.sampleFormat != SAMPLEFORMAT_UINT && page.sampleFormat != SAMPLEFORMAT_INT &&
      page.sampleFormat != SAMPLEFORMAT_VOID)
    return false;
  switch (page.photometric) {
    case PHOTOMETRIC_MINISBLACK: format->colour = TiffPixelFormat::Colour::kGray; break;
    case PHOTOMETRIC_MINISWHITE: format->colour = TiffPixelFormat::Colour::kGrayInverted; break;
    case PHOTOMETRIC_RGB: format->colour = TiffPixelFormat::Colour::kRgb; break;
    case PHOTOMETRIC_SEPARATED: {
      uint16_t inks = INKSET_CMYK;
      TIFFGetFieldDefaulted(tif, TIFFTAG_INKSET, &inks);
      if (inks != INKSET_CMYK) return false;
      format->colour = TiffPixelFormat::Colour::kCmyk;
      break;
    }
    case PHOTOMETRIC_PALETTE: {
      format->colour = TiffPixelFormat::Colour::kPalette;
      uint16_t* red = nullptr;
      uint16_t* green = nullptr;
      uint16_t* blue = nullptr;
      // libtiff holds 2^bits entries of each.
      if (!TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue)) return false;
      format->red = red;
      format->green = green;
      format->blue = blue;
      break;
    }
    default: return false;
  }
  format->bitsPerSample = page.bitsPerSample;
  format->samplesPerPixel = page.samplesPerPixel;
  format->separate = page.planar == PLANARCONFIG_SEPARATE;
  format->signedSamples = page.sampleFormat == SAMPLEFORMAT_INT && format->colour != TiffPixelFormat::Colour::kPalette;
  // The first extra sample is the alpha when it says so; an unspecified one is
  // no alpha.
  if (page.extraCount > 0 && page.extraTypes &&
      (page.extraTypes[0] == EXTRASAMPLE_ASSOCALPHA || page.extraTypes[0] == EXTRASAMPLE_UNASSALPHA) &&
      page.samplesPerPixel > format->colourSamples()) {
    format->alphaSample = format->colourSamples();
    format->associatedAlpha = page.extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
  }
  return TiffSamples::isReadable(*format);
}

// ---- the sample path ----

// Decoded strips or tiles of the samples the pixels need: one buffer a plane (at
// most CMYK and alpha: 5).
class Units {
 public:
  Units(TIFF* tif, const TiffPixelFormat& format) : tif_(tif), format_(format) {}

  TiffReadStatus prepare(int64_t unitBytes) {
    if (unitBytes <= 0) return TiffReadStatus::kDecodeFailed;
    if (unitBytes > TiffReader::kMaxBufferBytes) return TiffReadStatus::kBufferTooLarge;
    const int planes = format_.separate ? format_.colourSamples() + (format_.alphaSample >= 0 ? 1 : 0) : 1;
    buffers_.assign(static_cast<size_t>(planes), std::vector<uint8_t>(static_cast<size_t>(unitBytes)));
    unitBytes_ = unitBytes;
    return TiffReadStatus::kDecoded;
  }
  // Reads unit `index` of plane 0 (contiguous) or of each plane (separate: the
  // planes' units follow each other, `perPlane` apart); false when a unit could
  // not be decoded to at least `needed` bytes.
  bool readStrip(uint32_t index, uint32_t perPlane, int64_t needed) {
    for (size_t plane = 0; plane < buffers_.size(); ++plane) {
      const tmsize_t got = TIFFReadEncodedStrip(tif_, index + static_cast<uint32_t>(plane) * perPlane,
                                                buffers_[plane].data(), static_cast<tmsize_t>(unitBytes_));
      if (got < needed) return false;
    }
    return true;
  }
  bool readTile(uint32_t x, uint32_t y) {
    for (size_t plane = 0; plane < buffers_.size(); ++plane) {
      const uint32_t tile = TIFFComputeTile(tif_, x, y, 0, static_cast<uint16_t>(format_.separate ? plane : 0));
      if (TIFFReadEncodedTile(tif_, tile, buffers_[plane].data(), static_cast<tmsize_t>(unitBytes_)) < unitBytes_)
        return false;
    }
    return true;
  }
  // The row `row` of the unit in each plane, rowBytes a row.
  void rows(int64_t row, int64_t rowBytes, const uint8_t** planes) const {
    for (size_t plane = 0; plane < buffers_.size(); ++plane)
      planes[plane] = buffers_[plane].data() + row * rowBytes;
  }

 private:
  TIFF* tif_;
  const TiffPixelFormat& format_;
  std::vector<std::vector<uint8_t>> buffers_;
  int64_t unitBytes_ = 0;
};

// Converts count pixels of a unit's row into place; the and of their alphas.
uint8_t placeSpan(const TiffSamples& samples, const uint8_t* const* planes, int y, int x, int count,
                  UprightRows& rows, std::vector<uint8_t>& scratch) {
  if (uint8_t* target = rows.directTarget(y, x)) return samples.convert(planes, count, target);
  const uint8_t alphas = samples.convert(planes, count, scratch.data());
  rows.put(y, x, count, scratch.data());
  return alphas;
}

// How the page's samples are cut into strips or tiles.
struct UnitShape {
  bool tiled = false;
  uint32_t tileWidth = 0;
  uint32_t tileHeight = 0;
  uint32_t stripRows = 0;
  int64_t rowBytes = 0;   // of a unit's row
  int64_t unitBytes = 0;  // of a decoded strip or tile (of one plane)
};

// Measured before any pixel memory is taken: a unit larger than the buffer limit
// refuses the page.
TiffReadStatus shapeOf(TIFF* tif, const Page& page, UnitShape* shape) {
  shape->tiled = TIFFIsTiled(tif) != 0;
  if (shape->tiled) {
    if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &shape->tileWidth) ||
        !TIFFGetField(tif, TIFFTAG_TILELENGTH, &shape->tileHeight) || shape->tileWidth == 0 || shape->tileHeight == 0)
      return TiffReadStatus::kDecodeFailed;
    shape->rowBytes = static_cast<int64_t>(TIFFTileRowSize64(tif));
    shape->unitBytes = static_cast<int64_t>(TIFFTileSize64(tif));
    if (shape->rowBytes <= 0 || shape->unitBytes < shape->rowBytes) return TiffReadStatus::kDecodeFailed;
  } else {
    uint32_t rowsPerStrip = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    shape->stripRows = std::clamp<uint32_t>(rowsPerStrip, 1, page.height);
    shape->rowBytes = static_cast<int64_t>(TIFFScanlineSize64(tif));
    if (shape->rowBytes <= 0) return TiffReadStatus::kDecodeFailed;
    // Compared by division: rowBytes x stripRows may pass 64 bits in a hostile file.
    if (shape->stripRows > TiffReader::kMaxBufferBytes / shape->rowBytes) return TiffReadStatus::kBufferTooLarge;
    shape->unitBytes = shape->rowBytes * shape->stripRows;
  }
  return shape->unitBytes > TiffReader::kMaxBufferBytes ? TiffReadStatus::kBufferTooLarge : TiffReadStatus::kDecoded;
}

// Both sample paths and / into *alphas the alpha of every pixel placed.
TiffReadStatus readStrips(TIFF* tif, const Page& page, const TiffPixelFormat& format, const UnitShape& shape,
                          UprightRows& rows, uint8_t* alphas) {
  Units units(tif, format);
  const TiffReadStatus prepared = units.prepare(shape.unitBytes);
  if (prepared != TiffReadStatus::kDecoded) return prepared;
  const TiffSamples samples(format);
  std::vector<uint8_t> scratch(static_cast<size_t>(page.width) * 4);
  const uint32_t perPlane = (page.height + shape.stripRows - 1) / shape.stripRows;
  const uint8_t* planes[5] = {};
  for (uint32_t strip = 0; strip < perPlane; ++strip) {
    const uint32_t first = strip * shape.stripRows;
    const uint32_t count = std::min(shape.stripRows, page.height - first);
    if (!units.readStrip(strip, perPlane, shape.rowBytes * count)) return TiffReadStatus::kDecodeFailed;
    for (uint32_t row = 0; row < count; ++row) {
      units.rows(row, shape.rowBytes, planes);
      *alphas &= placeSpan(samples, planes, static_cast<int>(first + row), 0, static_cast<int>(page.width), rows,
                           scratch);
    }
  }
  return TiffReadStatus::kDecoded;
}

TiffReadStatus readTiles(TIFF* tif, const Page& page, const TiffPixelFormat& format, const UnitShape& shape,
                         UprightRows& rows, uint8_t* alphas) {
  Units units(tif, format);
  const TiffReadStatus prepared = units.prepare(shape.unitBytes);
  if (prepared != TiffReadStatus::kDecoded) return prepared;
  const TiffSamples samples(format);
  std::vector<uint8_t> scratch(static_cast<size_t>(std::min(shape.tileWidth, page.width)) * 4);
  const uint8_t* planes[5] = {};
  // 64-bit steps: y + tileHeight may pass 2^32.
  for (uint64_t y = 0; y < page.height; y += shape.tileHeight) {
    for (uint64_t x = 0; x < page.width; x += shape.tileWidth) {
      if (!units.readTile(static_cast<uint32_t>(x), static_cast<uint32_t>(y))) return TiffReadStatus::kDecodeFailed;
      const int count = static_cast<int>(std::min<uint64_t>(shape.tileWidth, page.width - x));
      const uint64_t lastRow = std::min<uint64_t>(shape.tileHeight, page.height - y);
      for (uint64_t row = 0; row < lastRow; ++row) {
        units.rows(static_cast<int64_t>(row), shape.rowBytes, planes);
        *alphas &= placeSpan(samples, planes, static_cast<int>(y + row), static_cast<int>(x), count, rows, scratch);
      }
    }
  }
  return TiffReadStatus::kDecoded;
}

// ---- libtiff's RGBA interface ----

struct RgbaImageEnd {
  void operator()(TIFFRGBAImage* image) const { TIFFRGBAImageEnd(image); }
};

// A packed ABGR word of libtiff's RGBA interface (premultiplied when the image has
// alpha) as straight blue, green, red, alpha bytes; answers the alpha.
uint8_t toStraightBgra(uint32_t packed, bool premultiplied, uint8_t* bgra) {
  const unsigned alpha = TIFFGetA(packed);
  unsigned colour[3] = {TIFFGetB(packed), TIFFGetG(packed), TIFFGetR(packed)};
  if (premultiplied && alpha != 0 && alpha != 255)
    for (unsigned& value : colour) value = std::min(255u, (value * 255u + alpha / 2) / alpha);
  bgra[0] = static_cast<uint8_t>(colour[0]);
  bgra[1] = static_cast<uint8_t>(colour[1]);
  bgra[2] = static_cast<uint8_t>(colour[2]);
  bgra[3] = static_cast<uint8_t>(alpha);
  return static_cast<uint8_t>(alpha);
}

TiffReadStatus readRgba(TIFF* tif, const Page& page, ExifOrientation::Layout layout, Bitmap& raster,
                        uint8_t* alphas) {
  char message[1024] = {};
  if (!TIFFRGBAImageOK(tif, message)) return TiffReadStatus::kUnsupported;
  TIFFRGBAImage image;
  if (!TIFFRGBAImageBegin(&image, tif, 1, message)) return TiffReadStatus::kUnsupported;
  std::unique_ptr<TIFFRGBAImage, RgbaImageEnd> end(&image);
  if (image.width != page.width || image.height != page.height) return TiffReadStatus::kDecodeFailed;
  const bool premultiplied = image.alpha != 0;
  const size_t pixels = static_cast<size_t>(page.width) * page.height;
  if (layout.isIdentity()) {
    // Asked for bottom-up rows, libtiff fills the raster's own memory (32-bit rows
    // have no padding); the words then become bytes in place.
    image.orientation = ORIENTATION_TOPLEFT;  // also for a tag outside 1-8
    image.req_orientation = ORIENTATION_BOTLEFT;
    auto* words = reinterpret_cast<uint32_t*>(raster.getBits());
    if (!TIFFRGBAImageGet(&image, words, page.width, page.height)) return TiffReadStatus::kDecodeFailed;
    uint8_t* bytes = raster.getBits();
    for (size_t i = 0; i < pixels; ++i) *alphas &= toStraightBgra(words[i], premultiplied, bytes + i * 4);
    return TiffReadStatus::kDecoded;
  }
  // Turned: the stored rows as they are (asking for the page's own orientation
  // makes libtiff flip nothing), first row first, then placed upright.
  image.req_orientation = page.orientation;
  thread::Owned<Bitmap> stored = thread::make<Bitmap>();
  if (!stored->createForOverwrite(static_cast<int>(page.width), static_cast<int>(page.height), 32))
    return TiffReadStatus::kRasterRefused;
  auto* words = reinterpret_cast<uint32_t*>(stored->getBits());
  if (!TIFFRGBAImageGet(&image, words, page.width, page.height)) return TiffReadStatus::kDecodeFailed;
  UprightRows rows(raster, static_cast<int>(page.width), static_cast<int>(page.height), layout);
  std::vector<uint8_t> row(static_cast<size_t>(page.width) * 4);
  for (uint32_t y = 0; y < page.height; ++y) {
    const uint32_t* source = words + static_cast<size_t>(y) * page.width;
    for (uint32_t x = 0; x < page.width; ++x) *alphas &= toStraightBgra(source[x], premultiplied, row.data() + x * 4);
    rows.put(static_cast<int>(y), row.data());
  }
  return TiffReadStatus::kDecoded;
}

// Whether the strips or tiles of an uncompressed page hold all of its samples
// within the file: a header claiming a large picture over a few bytes is refused
// before its raster is made. (Compressed data has no such bound.)
bool holdsItsSamples(TIFF* tif, const Page& page, uint64_t fileSize) {
  if (page.compression != COMPRESSION_NONE) return true;
  const bool tiled = TIFFIsTiled(tif) != 0;
  const uint32_t units = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
  const uint64_t planes = page.planar == PLANARCONFIG_SEPARATE ? page.samplesPerPixel : 1;
  // Sizes of at most 2^63 each (libtiff's own), so the products are checked.
  uint64_t needed = 0;
  if (tiled) {
    needed = TIFFTileSize64(tif);
    if (__builtin_mul_overflow(needed, static_cast<uint64_t>(units), &needed)) return false;
  } else {
    needed = TIFFScanlineSize64(tif);
    if (__builtin_mul_overflow(needed, static_cast<uint64_t>(page.height), &needed) ||
        __builtin_mul_overflow(needed, planes, &needed))
      return false;
  }
  uint64_t present = 0;
  for (uint32_t unit = 0; unit < units && present < needed; ++unit) {
    const uint64_t offset = TIFFGetStrileOffset(tif, unit);
    const uint64_t count = TIFFGetStrileByteCount(tif, unit);
    if (offset < fileSize) present += std::min(count, fileSize - offset);
  }
  return present >= needed;
}

}  // namespace

TiffReader::TiffReader(Tiff& tiff, int64_t maxPixels)
    : tiff_(tiff), maxPixels_(maxPixels < Bitmap::kMaxPixels ? maxPixels : Bitmap::kMaxPixels) {}

TiffReadStatus TiffReader::read(const uint8_t* data, size_t size) {
  int pages = 0;
  check_ = TiffDirectories::count(data, size, &pages);
  if (check_ != TiffCheck::kOk && check_ != TiffCheck::kTooManyPages) return TiffReadStatus::kStructure;
  MemoryFile file{data, size, 0};
  TiffFile tif = open(file);
  if (!tif) return TiffReadStatus::kOpenFailed;
  const Page page = pageOf(tif.get());
  if (page.width == 0 || page.height == 0) return TiffReadStatus::kOpenFailed;
  // Both sides are 32-bit: the product fits in 64 bits.
  if (static_cast<int64_t>(page.width) * page.height > maxPixels_) return TiffReadStatus::kPictureTooLarge;
  if (page.bitsPerSample < 1 || page.bitsPerSample > 16 || page.samplesPerPixel < 1)
    return TiffReadStatus::kUnsupported;
  if (!holdsItsSamples(tif.get(), page, size)) return TiffReadStatus::kDecodeFailed;
  const int orientation = page.orientation >= 1 && page.orientation <= 8 ? page.orientation : 1;
  const ExifOrientation::Layout layout = ExifOrientation::layoutOf(orientation);
  const int width = UprightRows::uprightWidth(static_cast<int>(page.width), static_cast<int>(page.height), layout);
  const int height = UprightRows::uprightHeight(static_cast<int>(page.width), static_cast<int>(page.height), layout);
  TiffPixelFormat format;
  UnitShape shape;
  const bool bySamples = sampleFormatOf(tif.get(), page, &format);
  if (bySamples) {
    const TiffReadStatus shaped = shapeOf(tif.get(), page, &shape);
    if (shaped != TiffReadStatus::kDecoded) return shaped;
  }
  Bitmap& raster = *tiff_.getRaster();
  // Every pixel is written by either path, or the read fails and the codec is emptied.
  if (!raster.createForOverwrite(width, height, 32)) return TiffReadStatus::kRasterRefused;
  TiffReadStatus status;
  uint8_t alphas = 255;  // the and of every pixel's alpha
  if (bySamples) {
    UprightRows rows(raster, static_cast<int>(page.width), static_cast<int>(page.height), layout);
    status = shape.tiled ? readTiles(tif.get(), page, format, shape, rows, &alphas)
                         : readStrips(tif.get(), page, format, shape, rows, &alphas);
  } else {
    status = readRgba(tif.get(), page, layout, raster, &alphas);
  }
  if (status != TiffReadStatus::kDecoded) return status;
  tiff_.setColourProfile(profileOf(tif.get()));
  tiff_.setFileValues(pages, page.bitsPerSample * page.samplesPerPixel, alphas != 255);
  return TiffReadStatus::kDecoded;
}

}  // namespace s::image::tiff::win
