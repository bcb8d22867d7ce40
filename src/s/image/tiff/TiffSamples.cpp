#include "s/image/tiff/TiffSamples.h"

#include <cstring>

namespace s::image::tiff {

namespace {

// round(v * 255 / maxValue), for every v up to maxValue.
std::vector<uint8_t> scaleTable(uint32_t maxValue) {
  std::vector<uint8_t> table(static_cast<size_t>(maxValue) + 1);
  for (uint32_t v = 0; v <= maxValue; ++v) table[v] = static_cast<uint8_t>((v * 255u + maxValue / 2) / maxValue);
  return table;
}

}  // namespace

bool TiffSamples::isReadable(const TiffPixelFormat& format) {
  if (format.bitsPerSample < 1 || format.bitsPerSample > 16 || format.samplesPerPixel < 1) return false;
  const int needed = format.colourSamples() + (format.alphaSample >= 0 ? 1 : 0);
  if (format.alphaSample >= 0 && format.alphaSample != format.colourSamples()) return false;
  if (format.samplesPerPixel < needed) return false;
  if (format.colour == TiffPixelFormat::Colour::kPalette && (!format.red || !format.green || !format.blue))
    return false;
  return true;
}

TiffSamples::TiffSamples(const TiffPixelFormat& format) : format_(format) {
  const int bits = format.bitsPerSample;
  const uint32_t maxValue = (uint32_t{1} << bits) - 1;
  const uint32_t signBit = format.signedSamples ? uint32_t{1} << (bits - 1) : 0;
  const std::vector<uint8_t> scale = scaleTable(maxValue);
  levels_.resize(scale.size());
  for (uint32_t v = 0; v <= maxValue; ++v) {
    // A signed sample's sign bit flipped: two's complement -2^(n-1) becomes 0.
    const uint8_t level = scale[v ^ signBit];
    levels_[v] = format.colour == TiffPixelFormat::Colour::kGrayInverted ? static_cast<uint8_t>(255 - level) : level;
  }
  alphaLevels_ = scale;
  // The kernels read contiguous 8-bit (or 1-bit) samples; unassociated alpha only.
  const bool contiguous = !format.separate;
  const bool gray = format.colour == TiffPixelFormat::Colour::kGray ||
                    format.colour == TiffPixelFormat::Colour::kGrayInverted;
  if (contiguous && bits == 8 && format.colour == TiffPixelFormat::Colour::kRgb && !format.signedSamples &&
      !format.associatedAlpha) {
    kernel_ = Kernel::kRgb8;
  } else if (contiguous && bits == 8 && gray && format.alphaSample < 0) {
    kernel_ = Kernel::kGray8;
  } else if (contiguous && bits == 1 && gray && format.alphaSample < 0 && format.samplesPerPixel == 1) {
    kernel_ = Kernel::kBilevel;
  }
  if (format.colour == TiffPixelFormat::Colour::kPalette) {
    const size_t entries = size_t{1} << bits;
    bool sixteenBit = false;
    for (size_t i = 0; i < entries && !sixteenBit; ++i)
      sixteenBit = format.red[i] > 255 || format.green[i] > 255 || format.blue[i] > 255;
    auto eight = [sixteenBit](uint16_t value) {
      return static_cast<uint8_t>(sixteenBit ? (value * 255u + 32767u) / 65535u : value);
    };
    palette_.resize(entries * 3);
    for (size_t i = 0; i < entries; ++i) {
      palette_[i * 3 + 0] = eight(format.blue[i]);
      palette_[i * 3 + 1] = eight(format.green[i]);
      palette_[i * 3 + 2] = eight(format.red[i]);
    }
  }
}

uint32_t TiffSamples::sampleAt(const uint8_t* row, size_t index) const {
  const int bits = format_.bitsPerSample;
  if (bits == 8) return row[index];
  if (bits == 16) {
    uint16_t value;
    std::memcpy(&value, row + index * 2, 2);
    return value;
  }
  // Up to 16 bits starting anywhere in a byte span 3 bytes at most; the row holds
  // every byte a sample of it touches (its length rounds up to whole bytes).
  const size_t bit = index * static_cast<size_t>(bits);
  const size_t byte = bit / 8;
  const int shift = static_cast<int>(bit % 8);
  const int spanBytes = (shift + bits + 7) / 8;
  uint32_t window = 0;
  for (int i = 0; i < spanBytes; ++i) window = (window << 8) | row[byte + static_cast<size_t>(i)];
  const int unused = spanBytes * 8 - shift - bits;
  return (window >> unused) & ((uint32_t{1} << bits) - 1);
}

uint8_t TiffSamples::convert(const uint8_t* const* planes, int count, uint8_t* bgra) const {
  switch (kernel_) {
    case Kernel::kRgb8: return convertRgb8(planes[0], count, bgra);
    case Kernel::kGray8: return convertGray8(planes[0], count, bgra);
    case Kernel::kBilevel: return convertBilevel(planes[0], count, bgra);
    case Kernel::kGeneral: break;
  }
  return convertGeneral(planes, count, bgra);
}

uint8_t TiffSamples::convertRgb8(const uint8_t* row, int count, uint8_t* bgra) const {
  const size_t step = static_cast<size_t>(format_.samplesPerPixel);
  if (format_.alphaSample < 0) {
    for (int x = 0; x < count; ++x, row += step, bgra += 4) {
      bgra[0] = row[2];
      bgra[1] = row[1];
      bgra[2] = row[0];
      bgra[3] = 255;
    }
    return 255;
  }
  uint8_t alphas = 255;
  for (int x = 0; x < count; ++x, row += step, bgra += 4) {
    bgra[0] = row[2];
    bgra[1] = row[1];
    bgra[2] = row[0];
    bgra[3] = row[3];
    alphas &= row[3];
  }
  return alphas;
}

uint8_t TiffSamples::convertGray8(const uint8_t* row, int count, uint8_t* bgra) const {
  const size_t step = static_cast<size_t>(format_.samplesPerPixel);
  const uint8_t* levels = levels_.data();
  for (int x = 0; x < count; ++x, row += step, bgra += 4) {
    bgra[0] = bgra[1] = bgra[2] = levels[*row];
    bgra[3] = 255;
  }
  return 255;
}

uint8_t TiffSamples::convertBilevel(const uint8_t* row, int count, uint8_t* bgra) const {
  // Pixels as 32-bit words, most significant bit first in each byte.
  uint32_t words[2];
  for (int bit = 0; bit < 2; ++bit) {
    const uint8_t level = levels_[static_cast<size_t>(bit)];
    const uint8_t pixel[4] = {level, level, level, 255};
    std::memcpy(&words[bit], pixel, 4);
  }
  int x = 0;
  for (; x + 8 <= count; x += 8, ++row, bgra += 32) {
    const unsigned byte = *row;
    for (int i = 0; i < 8; ++i) std::memcpy(bgra + i * 4, &words[(byte >> (7 - i)) & 1], 4);
  }
  for (int i = 0; x < count; ++x, ++i, bgra += 4) std::memcpy(bgra, &words[(*row >> (7 - i)) & 1], 4);
  return 255;
}

uint8_t TiffSamples::convertGeneral(const uint8_t* const* planes, int count, uint8_t* bgra) const {
  const int alpha = format_.alphaSample;
  uint8_t alphas = 255;
  for (int x = 0; x < count; ++x, bgra += 4) {
    switch (format_.colour) {
      case TiffPixelFormat::Colour::kRgb:
        bgra[0] = levels_[value(planes, x, 2)];
        bgra[1] = levels_[value(planes, x, 1)];
        bgra[2] = levels_[value(planes, x, 0)];
        break;
      case TiffPixelFormat::Colour::kPalette:
        std::memcpy(bgra, &palette_[static_cast<size_t>(value(planes, x, 0)) * 3], 3);
        break;
      case TiffPixelFormat::Colour::kCmyk: {
        const unsigned white = 255u - levels_[value(planes, x, 3)];
        bgra[0] = static_cast<uint8_t>(white * (255u - levels_[value(planes, x, 2)]) / 255u);
        bgra[1] = static_cast<uint8_t>(white * (255u - levels_[value(planes, x, 1)]) / 255u);
        bgra[2] = static_cast<uint8_t>(white * (255u - levels_[value(planes, x, 0)]) / 255u);
        break;
      }
      default:
        bgra[0] = bgra[1] = bgra[2] = levels_[value(planes, x, 0)];
        break;
    }
    if (alpha < 0) {
      bgra[3] = 255;
      continue;
    }
    const unsigned a = alphaLevels_[value(planes, x, alpha)];
    bgra[3] = static_cast<uint8_t>(a);
    alphas &= static_cast<uint8_t>(a);
    if (format_.associatedAlpha && a != 0 && a != 255) {
      for (int k = 0; k < 3; ++k) {
        const unsigned straight = (bgra[k] * 255u + a / 2) / a;
        bgra[k] = static_cast<uint8_t>(straight > 255 ? 255 : straight);
      }
    }
  }
  return alphas;
}

}  // namespace s::image::tiff
