#pragma once
// Small TIFF files made with libtiff for the reader's tests: the fields to set and
// the samples as they are to be stored (rows of packed samples, most significant
// bit first; 16-bit samples in the machine's order, as libtiff takes them).
#include <tiffio.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "io/MemoryStreams.h"

namespace tiff_builder {

struct TiffFields {
  uint32_t width = 1;
  uint32_t height = 1;
  uint16_t bitsPerSample = 8;
  uint16_t samplesPerPixel = 1;
  uint16_t photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t planar = PLANARCONFIG_CONTIG;
  uint16_t sampleFormat = SAMPLEFORMAT_UINT;
  uint16_t orientation = ORIENTATION_TOPLEFT;
  uint16_t compression = COMPRESSION_NONE;
  std::vector<uint16_t> extraSamples;  // EXTRASAMPLE_* of the samples after the colour
  uint32_t tileWidth = 0;              // 0: strips of rowsPerStrip rows
  uint32_t tileHeight = 0;
  uint32_t rowsPerStrip = 0;           // 0: one strip
  std::vector<uint16_t> red, green, blue;  // palette
  std::vector<uint8_t> profile;            // ICC
};

// One strip or tile after the other (planes after each other when separate), each
// as libtiff's encoded-strip or encoded-tile functions take it.
inline std::vector<uint8_t> makeTiff(const TiffFields& fields, const std::vector<std::vector<uint8_t>>& units) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("pictorva-tiff-" + std::to_string(reinterpret_cast<uintptr_t>(&fields)) + "-" +
       std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".tif");
  TIFF* tif = TIFFOpen(file.string().c_str(), "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, fields.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, fields.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, fields.bitsPerSample);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, fields.samplesPerPixel);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, fields.photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, fields.planar);
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, fields.sampleFormat);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, fields.orientation);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, fields.compression);
  if (!fields.extraSamples.empty())
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(fields.extraSamples.size()), fields.extraSamples.data());
  if (!fields.red.empty()) TIFFSetField(tif, TIFFTAG_COLORMAP, fields.red.data(), fields.green.data(), fields.blue.data());
  if (!fields.profile.empty())
    TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(fields.profile.size()), fields.profile.data());
  if (fields.tileWidth) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, fields.tileWidth);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, fields.tileHeight);
    for (size_t i = 0; i < units.size(); ++i)
      TIFFWriteEncodedTile(tif, static_cast<uint32_t>(i), const_cast<uint8_t*>(units[i].data()),
                           static_cast<tmsize_t>(units[i].size()));
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, fields.rowsPerStrip ? fields.rowsPerStrip : fields.height);
    for (size_t i = 0; i < units.size(); ++i)
      TIFFWriteEncodedStrip(tif, static_cast<uint32_t>(i), const_cast<uint8_t*>(units[i].data()),
                            static_cast<tmsize_t>(units[i].size()));
  }
  TIFFClose(tif);
  std::vector<uint8_t> bytes = testing_streams::readFile(file.string());
  std::filesystem::remove(file);
  return bytes;
}

// Packs samples of `bits` bits, most significant bit first, a row at a time
// (rows start on a byte).
inline std::vector<uint8_t> packRows(const std::vector<uint32_t>& samples, size_t perRow, int bits) {
  std::vector<uint8_t> out;
  for (size_t row = 0; row < samples.size() / perRow; ++row) {
    uint64_t accumulator = 0;
    int pending = 0;
    for (size_t i = 0; i < perRow; ++i) {
      accumulator = (accumulator << bits) | samples[row * perRow + i];
      pending += bits;
      while (pending >= 8) {
        out.push_back(static_cast<uint8_t>(accumulator >> (pending - 8)));
        pending -= 8;
      }
    }
    if (pending > 0) out.push_back(static_cast<uint8_t>(accumulator << (8 - pending)));
  }
  return out;
}

}  // namespace tiff_builder
