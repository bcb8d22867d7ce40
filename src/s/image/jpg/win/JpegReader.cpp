#include "s/image/jpg/win/JpegReader.h"

#include <cstdlib>
#include <cstring>

#include "s/image/jpg/ExifOrientation.h"
#include "s/image/jpg/win/JpegErrorManager.h"

namespace s::image::jpg::win {

namespace {

// The source manager: libjpeg's part first, then the stream it reads from.
struct StreamSource {
  jpeg_source_mgr library;
  io::IInputStream* stream;
  JOCTET* buffer;  // JpegReader::kBufferBytes, from the library's permanent pool
  bool startOfFile;
};

// Everything one decoding needs, in one plain record: no destructors, so a fatal
// error may leave it at any point.
struct ReadContext {
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  StreamSource source;
  jpeg_progress_mgr progress;
  // The colour profile the APP2 segments assemble to, malloc'd by the library;
  // requested only when the caller wants it.
  bool wantsProfile;
  JOCTET* profile;
  unsigned int profileBytes;
};

StreamSource* sourceOf(j_decompress_ptr info) { return reinterpret_cast<StreamSource*>(info->src); }

void initSource(j_decompress_ptr info) { sourceOf(info)->startOfFile = true; }

boolean fillInputBuffer(j_decompress_ptr info) {
  StreamSource* source = sourceOf(info);
  size_t got = 0;
  // A stream may answer 0 bytes without failing; a bounded number of those counts
  // as the end of the data.
  for (int attempt = 0; attempt < JpegReader::kMaxEmptyReads && got == 0; ++attempt) {
    size_t count = 0;
    const bool ok = source->stream->read(source->buffer, JpegReader::kBufferBytes, &count);
    got = count <= JpegReader::kBufferBytes ? count : 0;
    if (!ok) break;
  }
  if (got == 0) {
    if (source->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    // Cut short: a warning, and an end-of-image marker so that the library fills
    // the missing part of the picture.
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    got = 2;
  }
  source->library.next_input_byte = source->buffer;
  source->library.bytes_in_buffer = got;
  source->startOfFile = false;
  return TRUE;
}

void skipInputData(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  StreamSource* source = sourceOf(info);
  // Each refill holds at least 2 bytes, so the loop ends.
  while (count > static_cast<long>(source->library.bytes_in_buffer)) {
    count -= static_cast<long>(source->library.bytes_in_buffer);
    (void)fillInputBuffer(info);
  }
  source->library.next_input_byte += count;
  source->library.bytes_in_buffer -= static_cast<size_t>(count);
}

void termSource(j_decompress_ptr) {}

void limitScans(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (info->is_decompressor && decompress->input_scan_number > JpegReader::kMaxScans)
    JpegErrorManager::exitToCaller(info);
}

void installSource(ReadContext& context, io::IInputStream& in) {
  StreamSource& source = context.source;
  source.stream = &in;
  source.buffer = static_cast<JOCTET*>(
      (*context.info.mem->alloc_small)(reinterpret_cast<j_common_ptr>(&context.info), JPOOL_PERMANENT,
                                       JpegReader::kBufferBytes));
  source.startOfFile = true;
  source.library.init_source = initSource;
  source.library.fill_input_buffer = fillInputBuffer;
  source.library.skip_input_data = skipInputData;
  source.library.resync_to_restart = jpeg_resync_to_restart;
  source.library.term_source = termSource;
  source.library.next_input_byte = nullptr;
  source.library.bytes_in_buffer = 0;
  context.info.src = &source.library;
}

// Colour and grayscale files decode straight into the raster's blue, green, red
// order; CMYK and YCCK come out as CMYK; anything else as stored.
void chooseOutputSpace(jpeg_decompress_struct& info) {
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
      info.out_color_space = JCS_EXT_BGR;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      info.out_color_space = JCS_CMYK;
      break;
    default:
      break;
  }
}

void grayToBgr(const uint8_t* samples, int width, uint8_t* bgr) {
  for (int x = 0; x < width; ++x, bgr += 3) bgr[0] = bgr[1] = bgr[2] = samples[x];
}

void rgbToBgr(const uint8_t* samples, int width, uint8_t* bgr) {
  for (int x = 0; x < width; ++x, samples += 3, bgr += 3) {
    bgr[0] = samples[2];
    bgr[1] = samples[1];
    bgr[2] = samples[0];
  }
}

// Inverted CMYK: 255 means no ink, so each colour is its own value scaled by k.
void cmykToBgr(const uint8_t* samples, int width, uint8_t* bgr) {
  for (int x = 0; x < width; ++x, samples += 4, bgr += 3) {
    const unsigned k = samples[3];
    bgr[0] = static_cast<uint8_t>(samples[2] * k / 255);
    bgr[1] = static_cast<uint8_t>(samples[1] * k / 255);
    bgr[2] = static_cast<uint8_t>(samples[0] * k / 255);
  }
}

// The raster is created uncleared; rows a fatal error left unwritten become black.
void clearRowsFrom(bmp::win::Bitmap& raster, int firstRow) {
  for (int y = firstRow; y < raster.getHeight(); ++y)
    std::memset(raster.getRow(y), 0, static_cast<size_t>(raster.getWidth()) * 3);
}

// The orientation of the first APP1 Exif block among the saved markers.
int orientationOf(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr marker = info.marker_list; marker; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1) continue;
    const int orientation = ExifOrientation::fromApp1(marker->data, marker->data_length);
    if (orientation != ExifOrientation::kUpright) return orientation;
  }
  return ExifOrientation::kUpright;
}

// How the decoded rows of a picture stored sideways or mirrored reach the raster.
struct RowPlacement {
  ExifOrientation::Layout layout;
  int sourceWidth = 0;
  int sourceHeight = 0;
};

// Rows are turned upright in batches: a batch of source rows fills a short run of
// neighbouring columns in every raster row, instead of one pixel per raster row
// and source row.
constexpr int kBatchRows = 16;
constexpr int kPrefetchRows = 16;

// Puts count decoded rows (blue, green, red pixels), source rows firstRow onwards,
// where the upright picture has them: rows (possibly reversed), or, transposed,
// columns.
void placeRows(const JSAMPARRAY rows, int firstRow, int count, const RowPlacement& placement,
               bmp::win::Bitmap& raster) {
  const ExifOrientation::Layout& layout = placement.layout;
  const int width = placement.sourceWidth;
  if (!layout.transpose) {
    for (int i = 0; i < count; ++i) {
      const int row = firstRow + i;
      uint8_t* out = raster.getRow(layout.flip ? placement.sourceHeight - 1 - row : row);
      if (!layout.mirror) {
        std::memcpy(out, rows[i], static_cast<size_t>(width) * 3);
        continue;
      }
      for (int x = 0; x < width; ++x) std::memcpy(out + static_cast<size_t>(width - 1 - x) * 3, rows[i] + x * 3, 3);
    }
    return;
  }
  // Source row y becomes raster column y (flipped: height - 1 - y), and its pixel x
  // raster row x (mirrored: width - 1 - x). The batch covers count neighbouring
  // columns; flipped, the last row of the batch is the leftmost column.
  const int firstColumn = layout.flip ? placement.sourceHeight - firstRow - count : firstRow;
  for (int x = 0; x < width; ++x) {
    const int targetRow = layout.mirror ? width - 1 - x : x;
    // The raster rows lie a stride apart, too far for the hardware to foresee: the
    // row a few steps ahead is asked for now.
    const int ahead = layout.mirror ? targetRow - kPrefetchRows : targetRow + kPrefetchRows;
    if (ahead >= 0 && ahead < width) __builtin_prefetch(raster.getRow(ahead) + static_cast<size_t>(firstColumn) * 3, 1);
    uint8_t* out = raster.getRow(targetRow) + static_cast<size_t>(firstColumn) * 3;
    for (int i = 0; i < count; ++i, out += 3) std::memcpy(out, rows[layout.flip ? count - 1 - i : i] + x * 3, 3);
  }
}

void convertToBgr(const uint8_t* samples, int components, int width, uint8_t* bgr) {
  if (components == 4) {
    cmykToBgr(samples, width, bgr);
  } else if (components == 1) {
    grayToBgr(samples, width, bgr);
  } else {
    rgbToBgr(samples, width, bgr);
  }
}

// Decodes rows in order into the raster, converting them when they are not blue,
// green, red already.
bool decodeUprightRows(ReadContext& context, bmp::win::Bitmap& raster) {
  jpeg_decompress_struct& info = context.info;
  const bool direct = info.out_color_space == JCS_EXT_BGR;
  const int components = info.output_components;
  const int width = static_cast<int>(info.output_width);
  JSAMPROW samples = nullptr;
  if (!direct &&
      !runGuarded(context.errors, [&] {
        samples = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            info.output_width * static_cast<JDIMENSION>(components), 1)[0];
      }))
    return false;
  bool complete = false;
  (void)runGuarded(context.errors, [&] {
    while (info.output_scanline < info.output_height) {
      uint8_t* row = raster.getRow(static_cast<int>(info.output_scanline));
      JSAMPROW target = direct ? row : samples;
      // The source never suspends, so a call that delivers no row cannot recover.
      if (jpeg_read_scanlines(&info, &target, 1) != 1) return;
      if (!direct) convertToBgr(samples, components, width, row);
    }
    complete = true;
  });
  clearRowsFrom(raster, static_cast<int>(info.output_scanline));
  return complete;
}

// Decodes rows into batches of kBatchRows and places each full batch upright. The
// raster was created cleared: rows a fatal error left undecoded stay black.
bool decodeTurnedRows(ReadContext& context, const RowPlacement& placement, bmp::win::Bitmap& raster) {
  jpeg_decompress_struct& info = context.info;
  const bool samplesAreBgr = info.out_color_space == JCS_EXT_BGR;
  const int components = info.output_components;
  const int width = static_cast<int>(info.output_width);
  JSAMPROW samples = nullptr;
  JSAMPARRAY batch = nullptr;
  if (!runGuarded(context.errors, [&] {
        const auto pool = reinterpret_cast<j_common_ptr>(&info);
        batch = (*info.mem->alloc_sarray)(pool, JPOOL_IMAGE, info.output_width * 3, kBatchRows);
        if (!samplesAreBgr)
          samples = (*info.mem->alloc_sarray)(pool, JPOOL_IMAGE,
                                              info.output_width * static_cast<JDIMENSION>(components), 1)[0];
      }))
    return false;
  const int height = static_cast<int>(info.output_height);
  bool complete = false;
  (void)runGuarded(context.errors, [&] {
    while (info.output_scanline < info.output_height) {
      const int row = static_cast<int>(info.output_scanline);
      JSAMPROW target = samplesAreBgr ? batch[row % kBatchRows] : samples;
      if (jpeg_read_scanlines(&info, &target, 1) != 1) return;
      if (!samplesAreBgr) convertToBgr(samples, components, width, batch[row % kBatchRows]);
      if ((row + 1) % kBatchRows == 0 || row + 1 == height)
        placeRows(batch, row - row % kBatchRows, row % kBatchRows + 1, placement, raster);
    }
    complete = true;
  });
  // After a fatal error the rows of the batch begun are placed too. The library's
  // row counter, not a local, says how many: a local changed under the guard is
  // unreliable after the jump back.
  const int decoded = static_cast<int>(info.output_scanline);
  if (!complete && decoded % kBatchRows != 0)
    placeRows(batch, decoded - decoded % kBatchRows, decoded % kBatchRows, placement, raster);
  return complete;
}

bool decodeRows(ReadContext& context, const RowPlacement& placement, bmp::win::Bitmap& raster) {
  const bool complete = placement.layout.isIdentity() ? decodeUprightRows(context, raster)
                                                      : decodeTurnedRows(context, placement, raster);
  // Trailing damage after the last row does not take the picture away.
  if (complete) (void)runGuarded(context.errors, [&] { jpeg_finish_decompress(&context.info); });
  return complete;
}

bool decodeWith(ReadContext& context, io::IInputStream& in, bmp::win::Bitmap& raster, int64_t maxPixels) {
  jpeg_decompress_struct& info = context.info;
  if (!runGuarded(context.errors, [&] {
        installSource(context, in);
        info.mem->max_memory_to_use = JpegReader::kMaxLibraryMemory;
        context.progress.progress_monitor = limitScans;
        info.progress = &context.progress;
        // APP1 segments are kept for the Exif orientation (each at most 64 KB, the
        // largest a segment can be).
        jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
        // APP2 segments, for the ICC profile split across them.
        if (context.wantsProfile) jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
        jpeg_read_header(&info, TRUE);
        // A broken chain of profile segments is only a warning: no profile.
        if (context.wantsProfile && !jpeg_read_icc_profile(&info, &context.profile, &context.profileBytes))
          context.profile = nullptr;
        chooseOutputSpace(info);
        jpeg_calc_output_dimensions(&info);
      }))
    return false;
  const int components = info.output_components;
  if (components != 1 && components != 3 && components != 4) return false;
  if (info.output_width == 0 || info.output_height == 0) return false;
  const int64_t pixels = static_cast<int64_t>(info.output_width) * info.output_height;
  if (maxPixels > bmp::win::Bitmap::kMaxPixels) maxPixels = bmp::win::Bitmap::kMaxPixels;
  if (pixels > maxPixels) return false;
  RowPlacement placement;
  placement.layout = ExifOrientation::layoutOf(orientationOf(info));
  placement.sourceWidth = static_cast<int>(info.output_width);
  placement.sourceHeight = static_cast<int>(info.output_height);
  const bool transposed = placement.layout.transpose;
  const int width = transposed ? placement.sourceHeight : placement.sourceWidth;
  const int height = transposed ? placement.sourceWidth : placement.sourceHeight;
  // Upright rows are written in order, so that raster is left uncleared (decodeRows
  // clears what it could not write); a turned picture is filled in another order.
  const bool created = placement.layout.isIdentity() ? raster.createForOverwrite(width, height, 24)
                                                     : raster.create(width, height, 24);
  if (!created) return false;
  if (!runGuarded(context.errors, [&] { jpeg_start_decompress(&info); }) ||
      // start_decompress recomputes the output size; it must still be the one measured.
      static_cast<int>(info.output_width) != placement.sourceWidth ||
      static_cast<int>(info.output_height) != placement.sourceHeight || info.output_components != components) {
    clearRowsFrom(raster, 0);
    return false;
  }
  return decodeRows(context, placement, raster);
}

}  // namespace

bool JpegReader::decode(io::IInputStream& in, bmp::win::Bitmap& raster, int64_t maxPixels, ColourProfile* profile) {
  raster.reset();
  if (profile) *profile = ColourProfile();
  ReadContext context{};
  context.info.err = context.errors.install();
  context.wantsProfile = profile != nullptr;
  bool ok = runGuarded(context.errors, [&] { jpeg_create_decompress(&context.info); });
  if (ok) ok = decodeWith(context, in, raster, maxPixels);
  // Safe after a failed creation too: it frees only what the library allocated.
  jpeg_destroy_decompress(&context.info);
  if (context.profile) {
    *profile = ColourProfile::fromBytes(context.profile, context.profileBytes);
    std::free(context.profile);
  }
  return ok;
}

}  // namespace s::image::jpg::win
