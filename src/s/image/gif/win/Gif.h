#pragma once
// The GIF codec: single images and animations, with the library's own LZW coder.
//
// A GIF is held as a list of frames. Each frame is an 8-bit indexed Bitmap with a
// 256-entry colour table (entries past the file's table are 0) plus its transparent
// index (-1 for none), delay in milliseconds and disposal method (0-7 as in the
// file). The file-level values are the loop count and the colour-table depth found
// in the file.
//
// Reading keeps every frame as stored (no compositing) together with its position on
// the logical screen. Turning frames into pixel images (toImageSet) places them on a
// canvas: when every frame covers the logical screen, the canvas is the largest
// frame and smaller frames are centred on opaque white (each frame's area is the
// whole canvas); otherwise the canvas is the logical screen and each frame sits at
// its own position, clipped, on transparent pixels, its area being its own
// rectangle. The image set's composeFrames then gives the pictures a viewer shows.
//
// Writing emits GIF89a with a NETSCAPE2.0 loop block, a graphic control block per
// frame, and every frame at (0, 0) with its own 256-entry local colour table. A
// picture of depth D is quantized to min(2^D, 255) colours, the transparent index
// right after them. An animation is written so that a viewer shows its pictures:
// see fromImageSet.
//
// Hostile files: reading ends at the end of the data as at the trailer; a file may
// hold at most kMaxFrames frames and decode at most kMaxTotalPixels (counting every
// frame's raster and, per frame, two canvases: the toImageSet picture and the
// composeFrames copy). Frames past either cap are dropped and reading stops.
#include <cstdint>
#include <vector>

#include "s/image/gif/IGif.h"
#include "s/image/gif/win/GifLzw.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::bmp::win {
class Bitmap;
}

namespace s::image::gif::win {

// One frame and its per-frame values.
struct GifFrame {
  thread::Owned<bmp::win::Bitmap> raster;  // 8-bit
  int transparentIndex = -1;
  int delay = 0;     // milliseconds
  int disposal = 0;  // 0-7
  int left = 0;      // position on the logical screen (read from the file; 0 otherwise)
  int top = 0;
};

class Gif final : public thread::PooledObject<Gif, IGif> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_gif_win_Gif";
  static constexpr int kMaxFrames = 4096;
  static constexpr uint64_t kMaxTotalPixels = uint64_t{1} << 28;
  // Pixels with alpha below this become transparent when a picture is encoded.
  static constexpr int kAlphaThreshold = 96;
  // The pool's create() beside the frame's create(width, height, bitCount).
  using PooledObject<Gif, IGif>::create;

  Gif();
  ~Gif() override;
  Gif(const Gif&) = delete;
  Gif& operator=(const Gif&) = delete;

  void reset() override;

  // IImage / IEncodedImage
  int getWidth() const override;
  int getHeight() const override;
  const char16_t* getExtension() const override { return u".gif"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  bool write(io::IOutputStream& out) override;
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return !frames_.empty(); }
  int getImageCount() const override { return static_cast<int>(frames_.size()); }
  thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) override;
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage* image) override;
  bool findExactImage(int width, int height, int depth, int* index) const override;
  bool findNearestByDepth(int width, int height, int depth, int* index) const override;
  bool findNearestBySize(int width, int height, int depth, int* index) const override;

  // IGif
  bool create(int width, int height, int bitCount) override;
  bool copyFromHandle(BitmapHandle bitmap) override;
  bool drawToHandle(BitmapHandle bitmap) const override;
  int getBitCount() const override;
  int getStride() const override;
  bool hasAlphaChannel() const override;
  bool hasPalette() const override;
  int getPaletteCount() const override;
  int getPaletteSize() const override;
  bool hasTransparency() const override;
  bool fromBufferedImage(image::win::BufferedImage* image, int depth, bool keepTransparency, int red, int green,
                         int blue, int alphaThreshold) override;
  // Every picture of an animated set becomes a frame covering the screen. While a
  // picture can be drawn over the one before, its frame holds only the pixels that
  // changed (disposal 1; 0 for a first frame whose set disposal is 0); a picture
  // transparent where the one before is not makes the frame before disposal 2
  // (cleared) and its own frame holds the whole picture.
  bool fromImageSet(image::win::BufferedImageSet* set, int depth, bool keepTransparency, int red, int green,
                    int blue) override;

  // Reading with a smaller pixel budget than kMaxTotalPixels. True when the file
  // was read up to its trailer within the caps.
  bool readLimited(io::IInputStream& in, uint64_t maxTotalPixels);

  // Frames and file values.
  int getFrameCount() const { return static_cast<int>(frames_.size()); }
  const GifFrame& getFrame(int index) const { return frames_[static_cast<size_t>(index)]; }
  bmp::win::Bitmap* getFrameRaster(int index) const { return frames_[static_cast<size_t>(index)].raster.get(); }
  void setFrameValues(int index, int transparentIndex, int delay, int disposal);
  uint16_t getLoopCount() const { return loopCount_; }
  void setLoopCount(uint16_t loopCount) { loopCount_ = loopCount; }
  // The largest colour-table depth of the file, global and local tables alike
  // (1..8; the gray ramp of frames without any table counts as 8); 0 for a GIF that
  // was not read.
  int getBitDepth() const { return bitDepth_; }
  // Whether the last frame read was interlaced.
  bool isInterlaced() const { return interlaced_; }
  int getScreenWidth() const { return screenWidth_; }
  int getScreenHeight() const { return screenHeight_; }

  // Used by the reader: takes over a decoded frame (raster included).
  void appendFrame(GifFrame frame) { frames_.push_back(std::move(frame)); }
  void setFileValues(int screenWidth, int screenHeight, int bitDepth, bool interlaced);

 private:
  void dropFrames();
  // Adds a zeroed 8-bit frame; none when the raster could not be made.
  GifFrame* addFrame(int width, int height);
  // The canvas toImageSet places frames on, and whether frames keep their positions.
  void canvasSize(int* width, int* height, bool* placed) const;

  GifLzw lzw_;
  std::vector<GifFrame> frames_;
  uint16_t loopCount_ = 1;
  int bitDepth_ = 0;
  bool interlaced_ = false;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
};

}  // namespace s::image::gif::win
