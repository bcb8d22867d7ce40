#include "s/image/jpg/win/JpegWriter.h"

#include "s/image/jpg/win/JpegErrorManager.h"
#include "s/io/Streams.h"

namespace s::image::jpg::win {

namespace {

// The destination manager: libjpeg's part first, then the stream it writes to.
struct StreamDestination {
  jpeg_destination_mgr library;
  io::IOutputStream* stream;
  JOCTET* buffer;  // JpegWriter::kBufferBytes, from the library's image pool
};

struct WriteContext {
  jpeg_compress_struct info;
  JpegErrorManager errors;
  StreamDestination destination;
};

StreamDestination* destinationOf(j_compress_ptr info) {
  return reinterpret_cast<StreamDestination*>(info->dest);
}

void initDestination(j_compress_ptr info) {
  StreamDestination* destination = destinationOf(info);
  destination->buffer = static_cast<JOCTET*>(
      (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, JpegWriter::kBufferBytes));
  destination->library.next_output_byte = destination->buffer;
  destination->library.free_in_buffer = JpegWriter::kBufferBytes;
}

boolean emptyOutputBuffer(j_compress_ptr info) {
  StreamDestination* destination = destinationOf(info);
  if (!io::Streams::writeFully(*destination->stream, destination->buffer, JpegWriter::kBufferBytes))
    ERREXIT(info, JERR_FILE_WRITE);
  destination->library.next_output_byte = destination->buffer;
  destination->library.free_in_buffer = JpegWriter::kBufferBytes;
  return TRUE;
}

void termDestination(j_compress_ptr info) {
  StreamDestination* destination = destinationOf(info);
  const size_t count = JpegWriter::kBufferBytes - destination->library.free_in_buffer;
  if (count != 0 && !io::Streams::writeFully(*destination->stream, destination->buffer, count))
    ERREXIT(info, JERR_FILE_WRITE);
}

void installDestination(WriteContext& context, io::IOutputStream& out) {
  StreamDestination& destination = context.destination;
  destination.stream = &out;
  destination.buffer = nullptr;
  destination.library.init_destination = initDestination;
  destination.library.empty_output_buffer = emptyOutputBuffer;
  destination.library.term_destination = termDestination;
  context.info.dest = &destination.library;
}

bool encodeWith(WriteContext& context, bmp::win::Bitmap& raster, int quality, const ColourProfile& profile,
                io::IOutputStream& out) {
  jpeg_compress_struct& info = context.info;
  if (!runGuarded(context.errors, [&] {
        installDestination(context, out);
        info.image_width = static_cast<JDIMENSION>(raster.getWidth());
        info.image_height = static_cast<JDIMENSION>(raster.getHeight());
        // The raster's own byte order: no swapped copy of the picture is needed.
        info.input_components = 3;
        info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        jpeg_start_compress(&info, TRUE);
        // APP2 segments right after the JFIF header; without a profile the file is
        // as it always was.
        if (!profile.empty())
          jpeg_write_icc_profile(&info, profile.data(), static_cast<unsigned int>(profile.size()));
      }))
    return false;
  if (!runGuarded(context.errors, [&] {
        while (info.next_scanline < info.image_height) {
          JSAMPROW row = raster.getRow(static_cast<int>(info.next_scanline));
          (void)jpeg_write_scanlines(&info, &row, 1);
        }
      }))
    return false;
  return runGuarded(context.errors, [&] { jpeg_finish_compress(&info); });
}

}  // namespace

bool JpegWriter::encode(bmp::win::Bitmap& raster, int quality, const ColourProfile& profile, io::IOutputStream& out) {
  if (raster.getBitCount() != 24 || !raster.getBits() || raster.getWidth() <= 0 || raster.getHeight() <= 0)
    return false;
  WriteContext context{};
  context.info.err = context.errors.install();
  bool ok = runGuarded(context.errors, [&] { jpeg_create_compress(&context.info); });
  if (ok) ok = encodeWith(context, raster, quality, profile, out);
  jpeg_destroy_compress(&context.info);
  return ok;
}

}  // namespace s::image::jpg::win
