#pragma once
// Small TIFF files made with libtiff for the reader's tests: the fields to set and
// the samples as they are to be stored (rows of packed samples, most significant
// bit first; 16-bit samples in the machine's order, as libtiff takes them).
#include <tiffio.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "image/MemoryStreams.h"

namespace tiff_builder {

struct TiffSpec {
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
inline std::vector<uint8_t> makeTiff(const TiffSpec& spec, const std::vector<std::vector<uint8_t>>& units) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() /
      ("pictorva-tiff-" + std::to_string(reinterpret_cast<uintptr_t>(&spec)) + "-" +
       std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".tif");
  TIFF* tif = TIFFOpen(file.string().c_str(), "w");
  if (!tif) return {};
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, spec.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, spec.height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, spec.bitsPerSample);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, spec.samplesPerPixel);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, spec.photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, spec.planar);
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, spec.sampleFormat);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, spec.orientation);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, spec.compression);
  if (!spec.extraSamples.empty())
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, static_cast<uint16_t>(spec.extraSamples.size()), spec.extraSamples.data());
  if (!spec.red.empty()) TIFFSetField(tif, TIFFTAG_COLORMAP, spec.red.data(), spec.green.data(), spec.blue.data());
  if (!spec.profile.empty())
    TIFFSetField(tif, TIFFTAG_ICCPROFILE, static_cast<uint32_t>(spec.profile.size()), spec.profile.data());
  if (spec.tileWidth) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, spec.tileWidth);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, spec.tileHeight);
    for (size_t i = 0; i < units.size(); ++i)
      TIFFWriteEncodedTile(tif, static_cast<uint32_t>(i), const_cast<uint8_t*>(units[i].data()),
                           static_cast<tmsize_t>(units[i].size()));
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, spec.rowsPerStrip ? spec.rowsPerStrip : spec.height);
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
