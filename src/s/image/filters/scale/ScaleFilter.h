#pragma once
// The scale filter: brings a picture to the size its parameters ask for, either by
// resampling it, by copying it unchanged, or by placing the scaled picture centred
// on a transparent white canvas.
//
// Pixels are 32-bit BGRA with straight alpha in bottom-up rows (see RasterView). The
// resampler is separable: a horizontal pass from the source into an intermediate
// buffer, then a vertical pass from the buffer into the output, each
// driven by a contribution table (16.16 weights) computed once per pass. Rows are
// taken in storage order, bottom row first, so in the vertical pass output row 0 is
// aligned with input row 0 at the bottom edge, while the horizontal pass aligns at
// the left edge; no half-pixel offset is applied in either direction.
//
// The intermediate buffer and the contribution table are scratch memory of the
// calling thread, kept between its calls: resamplings on different threads run at
// the same time and take no lock.
//
// Working with images: `plan` decides what a source of a given size becomes and
// records the source and result sizes. The pixel image's glue then carries it out:
//   kCopy      copy the source (its own size);
//   kResample  prepare the output at pictureWidth x pictureHeight and call
//              resampleInto(source view, output view, getKernel()); the output's
//              alpha flag becomes the source's;
//   kCanvas    make the picture (a copy of the source when pictureIsCopy, else a
//              resampled image of the picture size), prepare the output at the canvas
//              size, composeCanvas(picture, output), release the picture; the
//              output's alpha flag becomes true;
//   kRefuse    no result (an empty source, or a canvas without a size).
#include <cstdint>

#include "s/base/IObject.h"
#include "s/image/RasterView.h"
#include "s/image/filters/IFilter.h"
#include "s/image/filters/scale/IScaleFilter.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::image::filters::scale {

class Contribution;

// What a scale filter makes of a source of a given size.
struct ScalePlan {
  enum class Action : uint8_t { kRefuse, kCopy, kResample, kCanvas };
  Action action = Action::kRefuse;
  int pictureWidth = 0;  // the scaled (or copied) picture
  int pictureHeight = 0;
  bool pictureIsCopy = false;  // kCanvas: the picture is the source at its own size
  int canvasWidth = 0;         // kCanvas only
  int canvasHeight = 0;
};

class ScaleFilterBase : public IFilter {};

class ScaleFilter final : public thread::PooledObject<ScaleFilter, ScaleFilterBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_filters_scale_ScaleFilter";
  // The filter's identity in an image's chain: compared by address, not by text.
  static const char16_t* const kFilterId;

  enum EnlargePolicy : int { kScaleBoth = 0, kNeverEnlarge = 1, kNeverShrink = 2 };

  // The request, set by whoever takes the filter from its pool (see
  // util::Sizer::newScaleFilter). In canvas mode width x height is also the canvas.
  bool keepRatio = true;
  bool canvas = false;
  bool widthAbsolute = true;  // width in pixels, else in percent of the source width
  bool heightAbsolute = true;
  int width = 0;
  int height = 0;
  int kernelKind = kKernelBilinear;
  int enlargePolicy = kScaleBoth;

  const char16_t* getFilterId() const override { return kFilterId; }
  bool isAutoRelease() const override { return autoRelease_; }
  void setAutoRelease(bool autoRelease) override { autoRelease_ = autoRelease; }
  // Scales source into output (prepared to the result size) or, without an output,
  // into a new image that the caller releases. None when the source is refused.
  win::BufferedImage* apply(win::BufferedImage* source, win::BufferedImage* output) override;
  int getSourceWidth() const { return sourceWidth_; }
  int getSourceHeight() const { return sourceHeight_; }
  int getResultWidth() const { return resultWidth_; }
  int getResultHeight() const { return resultHeight_; }

  // Decides the result for a source of this size and records both sizes.
  ScalePlan plan(int sourceWidth, int sourceHeight);
  // The shared kernel of kernelKind (bilinear for a kind outside 1-5).
  const IScaleFilter& getKernel() const { return sharedKernel(kernelKind); }

  void reset() override;

  // One process-wide kernel per kind with its default support, created on first use.
  static const IScaleFilter& sharedKernel(int kind);

  // Resamples the sourceWidth x sourceHeight picture of `source` into the
  // targetWidth x targetHeight picture of `output` (which must have room for it).
  // Refuses (false, output untouched) an empty source or target, or views too small
  // for the sizes.
  static bool resample(const RasterView& source, const RasterView& output, const IScaleFilter& kernel,
                       int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);
  // The same with the views' own logical sizes.
  static bool resampleInto(const RasterView& source, const RasterView& output, const IScaleFilter& kernel);
  // Fills the calling thread's contribution table for one pass; the resampler does
  // this itself.
  static bool computeContributions(const IScaleFilter& kernel, int outputLength, int inputLength, double scale);

  // Fills the canvas with white of alpha 0 and copies the picture centred on it,
  // byte for byte; a picture larger than the canvas is clipped around its centre.
  static void composeCanvas(const RasterView& picture, const RasterView& canvas);

  // Switches the vector inner loops off (the scalar reference runs) or back on. They
  // give the same bytes; the switch exists to compare them.
  static void setVectorPathEnabled(bool enabled);
  static bool isVectorPathEnabled();

 private:
  bool autoRelease_ = true;
  int sourceWidth_ = 1;
  int sourceHeight_ = 1;
  int resultWidth_ = 1;
  int resultHeight_ = 1;
};

}  // namespace s::image::filters::scale
