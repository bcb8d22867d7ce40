#include "s/image/webp/win/WebpReader.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <cstring>
#include <vector>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/jpg/ExifOrientation.h"
#include "s/image/util/RasterImage.h"
#include "s/image/util/UprightRows.h"
#include "s/image/webp/win/Webp.h"
#include "s/thread/Owned.h"

namespace s::image::webp::win {

namespace {

using bmp::win::Bitmap;
using jpg::ExifOrientation;

// The orientation of the EXIF chunk, which holds the TIFF structure itself (some
// writers put "Exif\0\0" before it, as JPEG does).
int orientationOf(const WebpLayout& layout) {
  if (!layout.exif) return ExifOrientation::kUpright;
  if (layout.exifSize >= 6 && std::memcmp(layout.exif, "Exif\0\0", 6) == 0)
    return ExifOrientation::fromApp1(layout.exif, layout.exifSize);
  return ExifOrientation::fromTiff(layout.exif, layout.exifSize);
}

// Decodes the still into memory of rowBytes a row; flipped, the last row first.
bool decodeInto(const uint8_t* data, size_t size, uint8_t* pixels, size_t bytes, int rowBytes, bool flip) {
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) return false;
  config.options.flip = flip ? 1 : 0;
  config.options.use_threads = 0;
  config.output.colorspace = MODE_BGRA;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = pixels;
  config.output.u.RGBA.stride = rowBytes;
  config.output.u.RGBA.size = bytes;
  const VP8StatusCode status = WebPDecode(data, size, &config);
  WebPFreeDecBuffer(&config.output);  // external memory: frees nothing of ours
  return status == VP8_STATUS_OK;
}

}  // namespace

WebpReader::WebpReader(Webp& webp, int64_t maxPixels, uint64_t maxTotalPixels)
    : webp_(webp),
      maxPixels_(maxPixels < Bitmap::kMaxPixels ? maxPixels : Bitmap::kMaxPixels),
      maxTotalPixels_(maxTotalPixels < Webp::kMaxTotalPixels ? maxTotalPixels : Webp::kMaxTotalPixels) {}

WebpReadStatus WebpReader::read(const uint8_t* data, size_t size) {
  WebpLayout layout;
  check_ = WebpChunks::parse(data, size, maxPixels_, &layout);
  if (check_ == WebpCheck::kCanvasTooLarge) return WebpReadStatus::kPictureTooLarge;
  if (check_ == WebpCheck::kTooManyFrames) return WebpReadStatus::kPixelBudget;
  if (check_ != WebpCheck::kOk) return WebpReadStatus::kStructure;
  webp_.setLossless(layout.lossless);
  webp_.setColourProfile(ColourProfile::fromBytes(layout.profile, layout.profileSize));
  return layout.animated ? readAnimation(data, size, layout) : readStill(data, size, layout);
}

WebpReadStatus WebpReader::readStill(const uint8_t* data, size_t size, const WebpLayout& layout) {
  WebPBitstreamFeatures features;
  if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK || features.width <= 0 || features.height <= 0)
    return WebpReadStatus::kBitstream;
  // Each side is below 2^14, but the product is compared in 64 bits all the same.
  if (static_cast<int64_t>(features.width) * features.height > maxPixels_) return WebpReadStatus::kPictureTooLarge;
  const ExifOrientation::Layout turn = ExifOrientation::layoutOf(orientationOf(layout));
  const int width = util::UprightRows::uprightWidth(features.width, features.height, turn);
  const int height = util::UprightRows::uprightHeight(features.width, features.height, turn);
  thread::Owned<Bitmap> raster = thread::make<Bitmap>();
  // Every pixel is written by the decoder or the placement.
  if (!raster->createForOverwrite(width, height, 32)) return WebpReadStatus::kRasterRefused;
  const size_t rowBytes = static_cast<size_t>(features.width) * 4;
  const size_t bytes = rowBytes * static_cast<size_t>(features.height);
  if (turn.isIdentity()) {
    // The raster is bottom-up and 4 bytes a pixel without padding: decoded flipped,
    // its memory is the picture.
    if (!decodeInto(data, size, raster->getBits(), bytes, static_cast<int>(rowBytes), true))
      return WebpReadStatus::kBitstream;
  } else {
    std::vector<uint8_t> stored(bytes);
    if (!decodeInto(data, size, stored.data(), bytes, static_cast<int>(rowBytes), false))
      return WebpReadStatus::kBitstream;
    util::UprightRows rows(*raster, features.width, features.height, turn);
    for (int y = 0; y < features.height; ++y) rows.put(y, stored.data() + rowBytes * static_cast<size_t>(y));
  }
  // A bitstream without alpha decodes opaque: no need to look.
  const bool transparent = features.has_alpha && util::RasterImage::hasTransparency(*raster);
  webp_.appendFrame(raster.detach(), 0, transparent);
  return WebpReadStatus::kDecoded;
}

WebpReadStatus WebpReader::readAnimation(const uint8_t* data, size_t size, const WebpLayout& layout) {
  // Per frame: its raster, the image set's picture and the composed copy.
  const uint64_t canvas = static_cast<uint64_t>(layout.canvasWidth) * static_cast<uint64_t>(layout.canvasHeight);
  if (layout.canvasWidth <= 0 || layout.canvasHeight <= 0) return WebpReadStatus::kBitstream;
  if (canvas * 3 * static_cast<uint64_t>(layout.frameCount) > maxTotalPixels_) return WebpReadStatus::kPixelBudget;
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return WebpReadStatus::kBitstream;
  options.color_mode = MODE_BGRA;
  options.use_threads = 0;
  WebPData bytes = {data, size};
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&bytes, &options);
  if (!decoder) return WebpReadStatus::kBitstream;
  WebpReadStatus status = WebpReadStatus::kDecoded;
  WebPAnimInfo info;
  if (!WebPAnimDecoderGetInfo(decoder, &info) || static_cast<int>(info.canvas_width) != layout.canvasWidth ||
      static_cast<int>(info.canvas_height) != layout.canvasHeight || info.frame_count == 0 ||
      info.frame_count > static_cast<uint32_t>(layout.frameCount)) {
    status = WebpReadStatus::kBitstream;
  } else {
    webp_.setLoopCount(static_cast<uint16_t>(info.loop_count));
    const int width = layout.canvasWidth;
    const int height = layout.canvasHeight;
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    int previous = 0;
    while (status == WebpReadStatus::kDecoded && WebPAnimDecoderHasMoreFrames(decoder)) {
      uint8_t* pixels = nullptr;
      int timestamp = 0;
      if (!WebPAnimDecoderGetNext(decoder, &pixels, &timestamp) || !pixels) {
        status = WebpReadStatus::kBitstream;
        break;
      }
      thread::Owned<Bitmap> raster = thread::make<Bitmap>();
      if (!raster->createForOverwrite(width, height, 32)) {
        status = WebpReadStatus::kRasterRefused;
        break;
      }
      // The canvas is top-down.
      for (int y = 0; y < height; ++y)
        std::memcpy(raster->getRow(y), pixels + rowBytes * static_cast<size_t>(y), rowBytes);
      // The timestamp is when the frame ends.
      const int duration = timestamp > previous ? timestamp - previous : 0;
      previous = timestamp;
      const bool transparent = util::RasterImage::hasTransparency(*raster);
      webp_.appendFrame(raster.detach(), duration, transparent);
    }
  }
  WebPAnimDecoderDelete(decoder);
  return status;
}

}  // namespace s::image::webp::win
