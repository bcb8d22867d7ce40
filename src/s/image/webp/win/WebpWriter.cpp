#include "s/image/webp/win/WebpWriter.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>

#include "s/image/bmp/win/Bitmap.h"
#include "s/image/webp/win/Webp.h"
#include "s/io/Streams.h"

namespace s::image::webp::win {

namespace {

using bmp::win::Bitmap;

// libwebp's picture of a raster: ARGB words (the raster's blue, green, red, alpha
// bytes), top row first. Freed by the owner's destructor on every path.
class Picture {
 public:
  Picture() { ok_ = WebPPictureInit(&picture_) != 0; }
  ~Picture() { WebPPictureFree(&picture_); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  bool fill(Bitmap& raster) {
    if (!ok_) return false;
    picture_.use_argb = 1;
    picture_.width = raster.getWidth();
    picture_.height = raster.getHeight();
    if (!WebPPictureAlloc(&picture_)) return false;
    for (int y = 0; y < picture_.height; ++y) {
      const uint8_t* row = raster.getRow(y);
      uint32_t* argb = picture_.argb + static_cast<ptrdiff_t>(y) * picture_.argb_stride;
      for (int x = 0; x < picture_.width; ++x, row += 4)
        argb[x] = (uint32_t{row[3]} << 24) | (uint32_t{row[2]} << 16) | (uint32_t{row[1]} << 8) | row[0];
    }
    return true;
  }
  WebPPicture* get() { return &picture_; }

 private:
  WebPPicture picture_;
  bool ok_ = false;
};

// The bytes libwebp made, freed with its own allocator.
class Encoded {
 public:
  Encoded() { WebPDataInit(&data_); }
  ~Encoded() { WebPDataClear(&data_); }
  Encoded(const Encoded&) = delete;
  Encoded& operator=(const Encoded&) = delete;
  WebPData* get() { return &data_; }

 private:
  WebPData data_;
};

bool configure(const WebpEncoding& encoding, WebPConfig* config) {
  if (!WebPConfigInit(config)) return false;
  config->quality = static_cast<float>(std::clamp(encoding.quality, 0, 100));
  config->lossless = encoding.lossless ? 1 : 0;
  return WebPValidateConfig(config) != 0;
}

bool encodeStill(Bitmap& raster, const WebPConfig& config, WebPData* encoded) {
  Picture picture;
  if (!picture.fill(raster)) return false;
  WebPMemoryWriter writer;
  WebPMemoryWriterInit(&writer);
  picture.get()->writer = WebPMemoryWrite;
  picture.get()->custom_ptr = &writer;
  if (!WebPEncode(&config, picture.get())) {
    WebPMemoryWriterClear(&writer);
    return false;
  }
  encoded->bytes = writer.mem;
  encoded->size = writer.size;
  return true;
}

bool encodeAnimation(const std::vector<WebpFrame>& frames, const WebpEncoding& encoding, const WebPConfig& config,
                     WebPData* encoded) {
  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) return false;
  options.anim_params.loop_count = encoding.loopCount;
  const int width = frames[0].raster->getWidth();
  const int height = frames[0].raster->getHeight();
  WebPAnimEncoder* encoder = WebPAnimEncoderNew(width, height, &options);
  if (!encoder) return false;
  bool ok = true;
  // Each frame starts when the ones before it have lasted their durations.
  int timestamp = 0;
  for (const WebpFrame& frame : frames) {
    Picture picture;
    if (!picture.fill(*frame.raster) || !WebPAnimEncoderAdd(encoder, picture.get(), timestamp, &config)) {
      ok = false;
      break;
    }
    timestamp += std::clamp(frame.duration, 0, WebpWriter::kMaxDuration);
  }
  // The end of the last frame.
  ok = ok && WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr) && WebPAnimEncoderAssemble(encoder, encoded);
  WebPAnimEncoderDelete(encoder);
  return ok;
}

// The file with an ICCP chunk (and the VP8X flag that announces it).
bool addProfile(const ColourProfile& profile, WebPData* encoded) {
  WebPMux* mux = WebPMuxCreate(encoded, 0);
  if (!mux) return false;
  const WebPData chunk = {profile.data(), profile.size()};
  WebPData assembled;
  WebPDataInit(&assembled);
  const bool ok = WebPMuxSetChunk(mux, "ICCP", &chunk, 0) == WEBP_MUX_OK && WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK;
  WebPMuxDelete(mux);
  if (!ok) {
    WebPDataClear(&assembled);
    return false;
  }
  WebPDataClear(encoded);
  *encoded = assembled;
  return true;
}

}  // namespace

bool WebpWriter::encode(const std::vector<WebpFrame>& frames, const WebpEncoding& encoding,
                        const ColourProfile& profile, io::IOutputStream& out) {
  if (frames.empty()) return false;
  Bitmap& first = *frames[0].raster;
  for (const WebpFrame& frame : frames) {
    const Bitmap& raster = *frame.raster;
    if (raster.getBitCount() != 32 || raster.getWidth() <= 0 || raster.getHeight() <= 0 ||
        raster.getWidth() != first.getWidth() || raster.getHeight() != first.getHeight())
      return false;
  }
  WebPConfig config;
  if (!configure(encoding, &config)) return false;
  Encoded encoded;
  const bool made = frames.size() == 1 ? encodeStill(first, config, encoded.get())
                                       : encodeAnimation(frames, encoding, config, encoded.get());
  if (!made) return false;
  if (!profile.empty() && !addProfile(profile, encoded.get())) return false;
  return io::Streams::writeFully(out, encoded.get()->bytes, encoded.get()->size);
}

}  // namespace s::image::webp::win
