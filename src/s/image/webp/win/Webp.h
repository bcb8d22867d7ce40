#pragma once
// The WebP codec, through libwebp: still pictures (lossy, lossless, with alpha) and
// animations, read and written.
//
// A WebP is held as a list of frames, each a 32-bit Bitmap (blue, green, red,
// alpha; straight alpha) covering the whole canvas, with its duration in
// milliseconds. A still is one frame. Animation frames are the pictures a viewer
// shows (libwebp's WebPAnimDecoder composes them), so in an image set each is drawn
// over a cleared canvas (disposal 2). The file-level values: the loop count (0 =
// for ever), whether every picture was lossless, the ICC profile of an ICCP chunk.
// A still whose EXIF chunk records an orientation (2-8) is turned upright as it is
// read.
//
// Writing: a single frame becomes a still, several an animation (WebPAnimEncoder,
// the frames' durations and the loop count kept); lossless or lossy at the
// codec's quality; a profile goes into an ICCP chunk. createLike keeps what the
// source was: lossless stays lossless, lossy becomes quality 75, an animated set
// stays animated.
//
// Hostile files: the chunk structure is checked first (WebpChunks); a picture may
// hold at most the caller's pixel limit (Bitmap::kMaxPixels at most), an animation
// at most kMaxTotalPixels counting, per frame, its raster and the two canvases an
// image set and its composition take. A file failing either is refused whole.
#include <cstdint>
#include <vector>

#include "s/image/IEncodedImage.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {
class Bitmap;
}

namespace s::image::webp::win {

struct WebpFrame {
  bmp::win::Bitmap* raster = nullptr;  // 32-bit, owned by the Webp
  int duration = 0;                    // milliseconds
  bool transparent = false;            // some pixel is not opaque
};

class Webp final : public thread::PooledObject<Webp, IEncodedImage> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_webp_win_Webp";
  static constexpr int kDefaultQuality = 75;
  static constexpr uint64_t kMaxTotalPixels = uint64_t{1} << 28;

  Webp() = default;
  ~Webp() override;
  Webp(const Webp&) = delete;
  Webp& operator=(const Webp&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override;
  int getHeight() const override;
  const char16_t* getExtension() const override { return u".webp"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  // True when every byte reached the stream.
  bool write(io::IOutputStream& out) override;
  // True when the file was decoded whole; otherwise the codec stays empty.
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return frames_.size() > 1; }
  int getImageCount() const override { return static_cast<int>(frames_.size()); }
  thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) override;
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage* image) override;
  void setColourProfile(const ColourProfile& profile) override { profile_ = profile; }
  ColourProfile getColourProfile() const override { return profile_; }

  // Reading with a caller's limit on the picture size (pixels), at most
  // Bitmap::kMaxPixels, and on an animation's pixels, at most kMaxTotalPixels.
  bool readLimited(io::IInputStream& in, int64_t maxPixels, uint64_t maxTotalPixels = kMaxTotalPixels);

  // The raster from a pixel image, one frame; without keepTransparency a
  // transparent image is composed onto the background colour first.
  bool fromBufferedImage(image::win::BufferedImage* image, int quality, bool lossless, bool keepTransparency,
                         int red, int green, int blue);
  // Every picture of an animated set of more than one becomes a frame (pictures of
  // another size than the first are left out); otherwise the primary picture.
  bool fromImageSet(image::win::BufferedImageSet* set, int quality, bool lossless, bool keepTransparency, int red,
                    int green, int blue);

  bool isAnimated() const { return frames_.size() > 1; }
  bool isLossless() const { return lossless_; }
  void setLossless(bool lossless) { lossless_ = lossless; }
  int getQuality() const { return quality_; }
  void setQuality(int quality) { quality_ = quality; }
  uint16_t getLoopCount() const { return loopCount_; }
  void setLoopCount(uint16_t loopCount) { loopCount_ = loopCount; }
  // 32 when some pixel is not opaque, else 24; 0 when empty.
  int getBitDepth() const;
  int getFrameCount() const { return static_cast<int>(frames_.size()); }
  const WebpFrame& getFrame(int index) const { return frames_[static_cast<size_t>(index)]; }

  // Used by the reader: takes over a decoded frame (raster included).
  void appendFrame(bmp::win::Bitmap* raster, int duration, bool transparent);

 private:
  void dropFrames();

  std::vector<WebpFrame> frames_;
  bool transparent_ = false;  // some frame has a pixel that is not opaque
  bool lossless_ = false;
  int quality_ = kDefaultQuality;
  uint16_t loopCount_ = 0;
  ColourProfile profile_;
};

}  // namespace s::image::webp::win
