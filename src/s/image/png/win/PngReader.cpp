#include "s/image/png/win/PngReader.h"

#include <cstring>

#include "s/image/png/win/PngGuard.h"
#include "s/io/Streams.h"

namespace s::image::png::win {

namespace {

// Exactly length bytes, or a library error: stale buffer contents never pass for
// data.
void readFromStream(png_structp png, png_bytep data, size_t length) {
  auto* stream = static_cast<io::IInputStream*>(png_get_io_ptr(png));
  if (io::Streams::readFully(*stream, data, length) != length) png_error(png, "unexpected end of data");
}

// Brings every colour type and depth to 8-bit blue, green, red, alpha.
void requestBgra(png_structp png, png_infop info) {
  const int bitDepth = png_get_bit_depth(png, info);
  const int colorType = png_get_color_type(png, info);
  // 16-bit samples keep their high byte (stripped, not rounded).
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) png_set_packing(png);
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if ((colorType & PNG_COLOR_MASK_ALPHA) == 0) png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
}

// The iCCP chunk's profile, when libpng accepted it.
ColourProfile profileOf(png_structp png, png_infop info) {
  png_charp name = nullptr;
  int compression = 0;
  png_bytep data = nullptr;
  png_uint_32 length = 0;
  if (!png_get_valid(png, info, PNG_INFO_iCCP) || !png_get_iCCP(png, info, &name, &compression, &data, &length))
    return {};
  return ColourProfile::fromBytes(data, length);
}

bool decodeWith(png_structp png, png_infop info, io::IInputStream& in, bmp::win::Bitmap& raster,
                int64_t maxPixels, ColourProfile* profile) {
  if (maxPixels > bmp::win::Bitmap::kMaxPixels) maxPixels = bmp::win::Bitmap::kMaxPixels;
  // A row of the raster holds width x 4 bytes in an int, so neither side may pass
  // INT32_MAX / 4; the product is checked after the header.
  const png_uint_32 maxSide =
      static_cast<png_uint_32>(maxPixels < INT32_MAX / 4 ? maxPixels : static_cast<int64_t>(INT32_MAX / 4));
  if (!runGuarded(png, [&] {
        png_set_read_fn(png, &in, readFromStream);
        png_set_user_limits(png, maxSide, maxSide);
        png_set_chunk_malloc_max(png, PngGuard::kMaxChunkBytes);
        png_set_chunk_cache_max(png, PngGuard::kMaxCachedChunks);
        // Only IHDR, PLTE, tRNS, IDAT and IEND shape the pixels. Every other chunk
        // is skipped unread: libpng would otherwise allocate (and clear) whatever
        // length a text or profile chunk declares, up to 2 GiB.
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
        // The colour profile, when asked for: libpng inflates it within the chunk
        // limit above and drops a damaged one with a warning.
        static const png_byte kProfileChunk[] = {'i', 'C', 'C', 'P', 0};
        if (profile) png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, kProfileChunk, 1);
        png_read_info(png, info);
      }))
    return false;
  if (profile) *profile = profileOf(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || static_cast<int64_t>(width) * height > maxPixels) return false;
  int passes = 1;
  if (!runGuarded(png, [&] {
        requestBgra(png, info);
        passes = png_set_interlace_handling(png);
        png_read_update_info(png, info);
      }))
    return false;
  // The rows go straight into the raster: they must be exactly 4 bytes a pixel.
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4 || png_get_bit_depth(png, info) != 8 ||
      png_get_channels(png, info) != 4)
    return false;
  // A plain image writes every row once, so its raster starts uncleared and a
  // failure clears the rows not reached. Interlaced passes fill rows bit by bit.
  const bool cleared = passes > 1;
  const int rows = static_cast<int>(height);
  if (!(cleared ? raster.create(static_cast<int>(width), rows, 32)
                : raster.createForOverwrite(static_cast<int>(width), rows, 32)))
    return false;
  // Each pass fills its pixels into the full rows, as png_read_image does.
  // Volatile: read after a library error has jumped out of the loop.
  volatile int rowsDone = 0;
  if (!runGuarded(png, [&] {
        for (int pass = 0; pass < passes; ++pass)
          for (int y = 0; y < rows; ++y) {
            rowsDone = y;
            png_read_row(png, raster.getRow(y), nullptr);
          }
      })) {
    if (!cleared)
      for (int y = rowsDone; y < rows; ++y) std::memset(raster.getRow(y), 0, static_cast<size_t>(width) * 4);
    return false;
  }
  // Damage after the image data leaves the picture complete.
  (void)runGuarded(png, [&] { png_read_end(png, nullptr); });
  return true;
}

}  // namespace

bool PngReader::decode(io::IInputStream& in, bmp::win::Bitmap& raster, int64_t maxPixels, ColourProfile* profile) {
  raster.reset();
  if (profile) *profile = ColourProfile();
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngGuard::onError, PngGuard::onWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  const bool ok = info && decodeWith(png, info, in, raster, maxPixels, profile);
  png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
  return ok;
}

}  // namespace s::image::png::win
