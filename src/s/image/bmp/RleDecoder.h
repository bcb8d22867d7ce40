#pragma once
// Expands BMP run-length data (RLE8 and RLE4) into an uncompressed bottom-up
// indexed raster. Pixels the data skips (deltas, early line or picture ends) keep
// index 0. Runs that pass the end of a row are cut at the row's end; data that
// passes the last row ends decoding. Nothing is written outside the raster.
#include <cstddef>
#include <cstdint>

namespace s::image::bmp {

class RleDecoder {
 public:
  enum class Result : uint8_t {
    kComplete,   // an end-of-picture code, or every row filled
    kTruncated,  // the data ended first: the rest stays index 0
  };

  // bits: rows x stride bytes, line 0 of the data (the bottom row) first.
  RleDecoder(int bitCount, int width, int rows, uint8_t* bits, int stride)
      : bitCount_(bitCount), width_(width), rows_(rows), bits_(bits), stride_(stride) {}

  Result decode(const uint8_t* data, size_t size);

 private:
  void put(int x, int y, uint8_t index);

  int bitCount_;
  int width_;
  int rows_;
  uint8_t* bits_;
  int stride_;
};

}  // namespace s::image::bmp
