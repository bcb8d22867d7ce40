#include "s/image/png/win/PngWriter.h"

#include "s/image/png/win/PngGuard.h"
#include "s/io/Streams.h"

namespace s::image::png::win {

namespace {

void writeToStream(png_structp png, png_bytep data, size_t length) {
  auto* stream = static_cast<io::IOutputStream*>(png_get_io_ptr(png));
  if (length != 0 && !io::Streams::writeFully(*stream, data, length)) png_error(png, "write failed");
}

void flushStream(png_structp png) {
  auto* stream = static_cast<io::IOutputStream*>(png_get_io_ptr(png));
  if (!stream->flush()) png_error(png, "flush failed");
}

bool encodeWith(png_structp png, png_infop info, bmp::win::Bitmap& raster, bool interlace,
                const ColourProfile& profile, io::IOutputStream& out) {
  const png_uint_32 width = static_cast<png_uint_32>(raster.getWidth());
  const png_uint_32 height = static_cast<png_uint_32>(raster.getHeight());
  int passes = 1;
  if (!runGuarded(png, [&] {
        png_set_write_fn(png, &out, writeToStream, flushStream);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                     interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        // A profile libpng finds unfit (not for RGB, or one of the known broken
        // sRGB profiles) is left out: its checks then only warn.
        if (!profile.empty()) {
          png_set_benign_errors(png, 1);
          png_set_iCCP(png, info, "ICC Profile", PNG_COMPRESSION_TYPE_BASE, profile.data(),
                       static_cast<png_uint_32>(profile.size()));
        }
        png_write_info(png, info);
        // The raster's blue, green, red, alpha order is swapped by the library on
        // the way out, so the raster itself is never changed.
        png_set_bgr(png);
        passes = png_set_interlace_handling(png);
      }))
    return false;
  if (!runGuarded(png, [&] {
        for (int pass = 0; pass < passes; ++pass)
          for (png_uint_32 y = 0; y < height; ++y) png_write_row(png, raster.getRow(static_cast<int>(y)));
      }))
    return false;
  return runGuarded(png, [&] { png_write_end(png, info); });
}

}  // namespace

bool PngWriter::encode(bmp::win::Bitmap& raster, bool interlace, const ColourProfile& profile,
                       io::IOutputStream& out) {
  if (raster.getBitCount() != 32 || !raster.getBits() || raster.getWidth() <= 0 || raster.getHeight() <= 0)
    return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngGuard::onError, PngGuard::onWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  const bool ok = info && encodeWith(png, info, raster, interlace, profile, out);
  png_destroy_write_struct(&png, info ? &info : nullptr);
  return ok;
}

}  // namespace s::image::png::win
