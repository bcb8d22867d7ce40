#pragma once
// Decoded pictures as plain RGBA for the tests of the codecs that read through
// other libraries: taken from our pixel images, from reference PNGs (decoded with
// our own PNG codec) and from PNM files, and compared with a measured difference.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/IEncodedImage.h"
#include "s/image/png/win/Png.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace picture_compare {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;  // red, green, blue, alpha per pixel, top row first
  bool empty() const { return width <= 0 || height <= 0; }
  const uint8_t* pixel(int x, int y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

inline std::string testdata(const std::string& path) { return std::string(PICTORVA_TESTDATA) + "/" + path; }

// The shared test data is missing on this machine: tests skip (on CI they fail).
inline bool haveTestdata(const std::string& folder) {
  return std::filesystem::is_directory(testdata(folder));
}

inline Picture fromImage(s::image::win::BufferedImage* image) {
  Picture picture;
  if (!image) return picture;
  picture.width = image->getWidth();
  picture.height = image->getHeight();
  for (int y = 0; y < picture.height; ++y) {
    const uint8_t* line = image->getLine(y);
    for (int x = 0; x < picture.width; ++x, line += 4)
      picture.rgba.insert(picture.rgba.end(), {line[2], line[1], line[0], line[3]});
  }
  return picture;
}

inline Picture fromCodec(s::image::IEncodedImage& codec, int index = 0) {
  s::thread::Owned<s::image::win::BufferedImage> image(codec.toBufferedImage(index, nullptr));
  return fromImage(image.get());
}

// Reads the file's bytes into a new codec of type Codec; ok says what read answered.
template <class Codec>
s::thread::Owned<Codec> readWith(const std::string& path, bool* ok = nullptr) {
  testing_streams::MemoryInputStream in(testing_streams::readFile(path));
  s::thread::Owned<Codec> codec(Codec::create());
  const bool read = codec->read(in);
  if (ok) *ok = read;
  return codec;
}

inline Picture decodePng(const std::string& path) {
  auto png = readWith<s::image::png::win::Png>(path);
  return fromCodec(*png);
}

// P4 (bits, 1 = black), P5 (gray) and P6 (RGB) at a maximum of 255 or 65535 (the
// high byte is kept).
inline Picture decodePnm(const std::string& path) {
  const std::vector<uint8_t> bytes = testing_streams::readFile(path);
  Picture picture;
  size_t at = 0;
  auto token = [&]() {
    std::string text;
    while (at < bytes.size()) {
      if (bytes[at] == '#') {
        while (at < bytes.size() && bytes[at] != '\n') ++at;
      } else if (std::isspace(bytes[at])) {
        if (!text.empty()) break;
        ++at;
      } else {
        text += static_cast<char>(bytes[at++]);
      }
    }
    return text;
  };
  const std::string magic = token();
  picture.width = std::atoi(token().c_str());
  picture.height = std::atoi(token().c_str());
  const int maxValue = magic == "P4" ? 1 : std::atoi(token().c_str());
  ++at;  // the single white space before the samples
  const size_t sampleBytes = maxValue > 255 ? 2 : 1;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      uint8_t rgb[3] = {};
      if (magic == "P4") {
        const size_t rowBytes = (static_cast<size_t>(picture.width) + 7) / 8;
        const uint8_t byte = bytes[at + y * rowBytes + x / 8];
        rgb[0] = rgb[1] = rgb[2] = (byte >> (7 - x % 8)) & 1 ? 0 : 255;
      } else {
        const int channels = magic == "P6" ? 3 : 1;
        const size_t pixel = at + (static_cast<size_t>(y) * picture.width + x) * channels * sampleBytes;
        for (int c = 0; c < 3; ++c) rgb[c] = bytes[pixel + (channels == 3 ? c : 0) * sampleBytes];
      }
      picture.rgba.insert(picture.rgba.end(), {rgb[0], rgb[1], rgb[2], 255});
    }
  }
  return picture;
}

struct Difference {
  bool sameSize = false;
  int maximum = 0;     // largest difference of one channel
  double mean = 0.0;   // mean difference over the channels compared
  // For test messages.
  std::string text() const {
    return sameSize ? "max " + std::to_string(maximum) + ", mean " + std::to_string(mean) : "sizes differ";
  }
};

// Channel by channel; the colour of a pixel transparent in both pictures does not
// count (decoders are free to leave anything there).
inline Difference compare(const Picture& a, const Picture& b) {
  Difference difference;
  difference.sameSize = !a.empty() && a.width == b.width && a.height == b.height;
  if (!difference.sameSize) return difference;
  uint64_t sum = 0;
  uint64_t count = 0;
  for (size_t i = 0; i < a.rgba.size(); i += 4) {
    const bool invisible = a.rgba[i + 3] == 0 && b.rgba[i + 3] == 0;
    for (size_t c = invisible ? 3 : 0; c < 4; ++c) {
      const int delta = std::abs(a.rgba[i + c] - b.rgba[i + c]);
      difference.maximum = std::max(difference.maximum, delta);
      sum += static_cast<uint64_t>(delta);
      ++count;
    }
  }
  difference.mean = count ? static_cast<double>(sum) / static_cast<double>(count) : 0.0;
  return difference;
}

// The same picture with alpha dropped (alpha 255 everywhere).
inline Picture opaque(Picture picture) {
  for (size_t i = 3; i < picture.rgba.size(); i += 4) picture.rgba[i] = 255;
  return picture;
}

}  // namespace picture_compare

namespace picture_compare {

// Colour multiplied by alpha (rounded), for references that keep associated alpha
// as it is stored while our pixels are straight.
inline Picture premultiplied(Picture picture) {
  for (size_t i = 0; i < picture.rgba.size(); i += 4)
    for (size_t c = 0; c < 3; ++c)
      picture.rgba[i + c] = static_cast<uint8_t>((picture.rgba[i + c] * picture.rgba[i + 3] + 127) / 255);
  return picture;
}

}  // namespace picture_compare
