#pragma once
// Turns the decoded samples of a TIFF row into blue, green, red, alpha pixels, for
// the photometric interpretations read sample by sample: gray (black or white as
// 0), RGB, palette and CMYK, at 1 to 16 bits a sample, signed or unsigned, samples
// of a pixel side by side (contiguous) or in planes of their own (separate).
//
// Samples are packed most significant bit first, rows starting on a byte; 8- and
// 16-bit samples come in the machine's byte order (libtiff swaps them). An n-bit
// sample v becomes round(v * 255 / (2^n - 1)); a signed one is offset by 2^(n-1)
// first, so that the smallest value is black. Palette entries are 16-bit (old
// files store 8-bit values in them: when no entry passes 255 they are taken as
// 8-bit, as libtiff does). An alpha sample gives the alpha; associated
// (premultiplied) colour is divided by it again.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace s::image::tiff {

struct TiffPixelFormat {
  enum class Colour : uint8_t { kGray, kGrayInverted, kRgb, kPalette, kCmyk };

  Colour colour = Colour::kGray;
  int bitsPerSample = 8;    // 1..16
  int samplesPerPixel = 1;  // in a contiguous row
  bool separate = false;    // each sample in a plane of its own
  bool signedSamples = false;
  int alphaSample = -1;     // the sample holding alpha, or -1
  bool associatedAlpha = false;
  // Palette: 2^bitsPerSample entries each.
  const uint16_t* red = nullptr;
  const uint16_t* green = nullptr;
  const uint16_t* blue = nullptr;

  // The samples the pixels are made of: the colour ones, then the alpha.
  int colourSamples() const {
    if (colour == Colour::kRgb) return 3;
    return colour == Colour::kCmyk ? 4 : 1;
  }
};

class TiffSamples {
 public:
  // The format must be valid (bits 1..16, enough samples); see isReadable.
  explicit TiffSamples(const TiffPixelFormat& format);

  static bool isReadable(const TiffPixelFormat& format);

  // count pixels of a row from its first pixel. Contiguous: planes[0] is the row.
  // Separate: planes[s] is the row of sample s, for the colour samples and the
  // alpha sample. Answers the bitwise and of the alphas written: 255 when every
  // pixel is opaque.
  uint8_t convert(const uint8_t* const* planes, int count, uint8_t* bgra) const;

 private:
  // Layouts common enough for a loop of their own; the general one reads every
  // sample through sampleAt and the tables.
  enum class Kernel : uint8_t { kGeneral, kRgb8, kGray8, kBilevel };

  uint8_t convertGeneral(const uint8_t* const* planes, int count, uint8_t* bgra) const;
  uint8_t convertRgb8(const uint8_t* row, int count, uint8_t* bgra) const;
  uint8_t convertGray8(const uint8_t* row, int count, uint8_t* bgra) const;
  uint8_t convertBilevel(const uint8_t* row, int count, uint8_t* bgra) const;

  // Sample number index of a row (bit offset index x bits).
  uint32_t sampleAt(const uint8_t* row, size_t index) const;
  // The value of sample s of pixel x.
  uint32_t value(const uint8_t* const* planes, int x, int s) const {
    return format_.separate ? sampleAt(planes[s], static_cast<size_t>(x))
                            : sampleAt(planes[0], static_cast<size_t>(x) * format_.samplesPerPixel + s);
  }

  TiffPixelFormat format_;
  Kernel kernel_ = Kernel::kGeneral;
  std::vector<uint8_t> levels_;      // sample value -> 8 bits (offset, inverted for white-is-0)
  std::vector<uint8_t> alphaLevels_;  // sample value -> 8 bits, for alpha
  std::vector<uint8_t> palette_;     // index -> blue, green, red
};

}  // namespace s::image::tiff
