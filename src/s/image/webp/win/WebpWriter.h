#pragma once
// Encodes a Webp's frames through libwebp: one frame as a still (WebPEncode), more
// as an animation (WebPAnimEncoder, each frame lasting its duration); an ICC
// profile is added as an ICCP chunk (WebPMux). The encoded file is built in
// memory, then written to the stream.
#include <cstdint>
#include <vector>

#include "s/image/ColourProfile.h"
#include "s/io/IOutputStream.h"

namespace s::image::webp::win {

struct WebpFrame;

struct WebpEncoding {
  int quality = 75;      // 0-100: lossy quality, or the effort of lossless coding
  bool lossless = false;
  uint16_t loopCount = 0;  // animations: 0 = for ever
};

class WebpWriter {
 public:
  // Longest frame an animation stores (its duration field has 24 bits).
  static constexpr int kMaxDuration = (1 << 24) - 1;

  // False when there is no frame, a frame is empty or not 32-bit, the frames differ
  // in size, libwebp failed, or the stream did not take every byte.
  static bool encode(const std::vector<WebpFrame>& frames, const WebpEncoding& encoding,
                     const ColourProfile& profile, io::IOutputStream& out);
};

}  // namespace s::image::webp::win
