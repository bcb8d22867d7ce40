#include "s/image/filters/scale/ScaleFilter.h"

#include <cstdlib>
#include <cstring>

#include "s/base/Memory.h"
#include "s/image/filters/scale/BilinearFilter.h"
#include "s/image/filters/scale/BlackmanFilter.h"
#include "s/image/filters/scale/BoxFilter.h"
#include "s/image/filters/scale/Contribution.h"
#include "s/image/filters/scale/GaussianFilter.h"
#include "s/image/filters/scale/HammingFilter.h"
#include "s/image/filters/scale/_resample/Passes.h"
#include "s/image/filters/VectorLevel.h"
#include "s/image/util/Sizer.h"

namespace s::image::filters::scale {

const char16_t* const ScaleFilter::kFilterId = u"SCALE";

namespace {

using _resample::ColumnFilter;
using _resample::PassTable;
using _resample::RowFilter;


// The intermediate rows between the two passes: target width x source height.
struct ResampleBuffer {
  uint8_t* data = nullptr;
  size_t capacity = 0;
  ~ResampleBuffer() { std::free(data); }
  void ensure(size_t bytes) {
    if (bytes <= capacity) return;
    std::free(data);  // the old contents are not needed
    data = static_cast<uint8_t*>(base::allocOrDie(bytes));
    capacity = bytes;
  }
  // A buffer grown for one very tall picture is not kept for the thread's lifetime.
  void trim(size_t keptBytes) {
    if (capacity <= keptBytes) return;
    std::free(data);
    data = nullptr;
    capacity = 0;
  }
};

// Buffers up to this size stay with their thread for the next resampling (a
// thumbnail of a photograph needs a few megabytes).
constexpr size_t kKeptBufferBytes = size_t{16} << 20;

// The scratch memory of one thread's resamplings: the intermediate rows and the
// contribution table of the current pass with its vector rearrangement. Every
// thread has its own, so resamplings on different threads never wait for each
// other, and each keeps its storage between calls.
struct Scratch {
  ResampleBuffer buffer;
  Contribution table;
  PassTable pass;
};

Scratch& threadScratch() {
  thread_local Scratch scratch;
  return scratch;
}

struct Filters {
  RowFilter row = _resample::filterRowScalar;
  ColumnFilter columns = _resample::filterColumnsScalar;
  bool vector = false;
};

Filters filtersForLevel(VectorLevel level) {
  Filters filters;
#ifdef PICTORVA_RESAMPLE_X86
  if (level == VectorLevel::kAvx2) {
    filters = {_resample::filterRowAvx2, _resample::filterColumnsAvx2, true};
  } else if (level == VectorLevel::kSse2) {
    filters = {_resample::filterRowSse2, _resample::filterColumnsSse2, true};
  }
#else
  (void)level;
#endif
  return filters;
}

// Copies `rows` rows of rowBytes bytes; as one block when the strides agree. Row 0 is
// the lowest address on both sides.
void copyRows(const uint8_t* from, ptrdiff_t fromStride, uint8_t* to, ptrdiff_t toStride, int rows, size_t rowBytes) {
  if (fromStride == toStride) {
    std::memcpy(to, from, static_cast<size_t>(fromStride) * static_cast<size_t>(rows - 1) + rowBytes);
    return;
  }
  for (int k = 0; k < rows; ++k) {
    std::memcpy(to + static_cast<ptrdiff_t>(k) * toStride, from + static_cast<ptrdiff_t>(k) * fromStride, rowBytes);
  }
}

// The view holds a picture of width x height: rows of width pixels within the stride,
// and height rows within the raster.
bool fits(const RasterView& view, int width, int height) {
  return view.bits != nullptr && width > 0 && height > 0 && height <= view.capacityHeight &&
         static_cast<int64_t>(width) * 4 <= view.rowBytes;
}

}  // namespace

void ScaleFilter::reset() {
  autoRelease_ = true;
  keepRatio = true;
  canvas = false;
  widthAbsolute = true;
  heightAbsolute = true;
  width = 0;
  height = 0;
  kernelKind = kKernelBilinear;
  enlargePolicy = kScaleBoth;
  sourceWidth_ = sourceHeight_ = 1;
  resultWidth_ = resultHeight_ = 1;
}

const IScaleFilter& ScaleFilter::sharedKernel(int kind) {
  static const BilinearFilter bilinear;
  static const BoxFilter box;
  static const HammingFilter hamming;
  static const BlackmanFilter blackman;
  static const GaussianFilter gaussian;
  switch (kind) {
    case kKernelBox:
      return box;
    case kKernelHamming:
      return hamming;
    case kKernelBlackman:
      return blackman;
    case kKernelGaussian:
      return gaussian;
    default:
      return bilinear;
  }
}

ScalePlan ScaleFilter::plan(int sourceWidth, int sourceHeight) {
  ScalePlan plan;
  if (sourceWidth <= 0 || sourceHeight <= 0) return plan;  // nothing to scale
  sourceWidth_ = sourceWidth;
  sourceHeight_ = sourceHeight;
  const util::TargetSize target = util::Sizer::computeTargetSize(*this, sourceWidth, sourceHeight);
  const bool covers = target.width >= sourceWidth && target.height >= sourceHeight;
  const bool within = target.width <= sourceWidth && target.height <= sourceHeight;

  if (!canvas) {
    const bool same = target.width == sourceWidth && target.height == sourceHeight;
    const bool keep = same || (enlargePolicy == kNeverEnlarge && covers) || (enlargePolicy == kNeverShrink && within);
    plan.action = keep ? ScalePlan::Action::kCopy : ScalePlan::Action::kResample;
    plan.pictureWidth = keep ? sourceWidth : target.width;
    plan.pictureHeight = keep ? sourceHeight : target.height;
    resultWidth_ = plan.pictureWidth;
    resultHeight_ = plan.pictureHeight;
    return plan;
  }

  if (width == sourceWidth && height == sourceHeight) {
    plan.action = ScalePlan::Action::kCopy;
    plan.pictureWidth = sourceWidth;
    plan.pictureHeight = sourceHeight;
  } else if (width <= 0 || height <= 0) {
    return plan;  // a canvas needs a size
  } else {
    // Never shrinking plays no part on a canvas.
    plan.action = ScalePlan::Action::kCanvas;
    plan.pictureIsCopy = enlargePolicy == kNeverEnlarge && covers;
    plan.pictureWidth = plan.pictureIsCopy ? sourceWidth : target.width;
    plan.pictureHeight = plan.pictureIsCopy ? sourceHeight : target.height;
    plan.canvasWidth = width;
    plan.canvasHeight = height;
  }
  resultWidth_ = width;
  resultHeight_ = height;
  return plan;
}

void ScaleFilter::composeCanvas(const RasterView& picture, const RasterView& canvas) {
  if (canvas.empty()) return;
  // White of alpha 0: bytes blue, green, red = 255, alpha = 0.
  static constexpr uint8_t kClear[4] = {255, 255, 255, 0};
  for (int y = 0; y < canvas.height; ++y) {
    uint8_t* row = canvas.row(y);
    for (int x = 0; x < canvas.width; ++x) std::memcpy(row + static_cast<ptrdiff_t>(x) * 4, kClear, 4);
  }
  if (picture.empty()) return;
  // Centred with division toward zero; a larger picture starts above or left of the
  // canvas and is clipped.
  const int top = (canvas.height - picture.height) / 2;
  const int left = (canvas.width - picture.width) / 2;
  const int fromX = left < 0 ? -left : 0;
  const int toX = left < 0 ? 0 : left;
  const int columns = (picture.width - fromX) < (canvas.width - toX) ? picture.width - fromX : canvas.width - toX;
  if (columns <= 0) return;
  for (int i = 0; i < picture.height; ++i) {
    const int y = top + i;
    if (y < 0 || y >= canvas.height) continue;
    std::memcpy(canvas.pixel(toX, y), picture.pixel(fromX, i), static_cast<size_t>(columns) * 4);
  }
}

bool ScaleFilter::computeContributions(const IScaleFilter& kernel, int outputLength, int inputLength, double scale) {
  return threadScratch().table.compute(kernel, outputLength, inputLength, scale);
}

bool ScaleFilter::resampleInto(const RasterView& source, const RasterView& output, const IScaleFilter& kernel) {
  return resample(source, output, kernel, source.width, source.height, output.width, output.height);
}

bool ScaleFilter::resample(const RasterView& source, const RasterView& output, const IScaleFilter& kernel,
                           int sourceWidth, int sourceHeight, int targetWidth, int targetHeight) {
  if (!fits(source, sourceWidth, sourceHeight) || !fits(output, targetWidth, targetHeight)) return false;
  const ptrdiff_t stride = output.rowBytes;  // the buffer's rows are spaced like the output's
  size_t bufferBytes;
  if (!base::checkedMul(static_cast<size_t>(sourceHeight), static_cast<size_t>(stride), &bufferBytes)) return false;

  const Filters filters = filtersForLevel(activeLevel());
  // Storage row k of a pass is its k-th lowest row: the bottom row of the picture
  // comes first.
  const uint8_t* sourceBottom = source.row(sourceHeight - 1);
  uint8_t* outputBottom = output.row(targetHeight - 1);

  Scratch& scratch = threadScratch();
  ResampleBuffer& buffer = scratch.buffer;
  buffer.ensure(bufferBytes);

  // Horizontal pass: sourceHeight rows of sourceWidth pixels into the buffer.
  if (targetWidth == sourceWidth) {
    copyRows(sourceBottom, source.rowBytes, buffer.data, stride, sourceHeight, static_cast<size_t>(sourceWidth) * 4);
  } else {
    scratch.table.compute(kernel, targetWidth, sourceWidth,
                          static_cast<double>(targetWidth) / static_cast<double>(sourceWidth));
    if (filters.vector) scratch.pass.build(scratch.table);
    for (int k = 0; k < sourceHeight; ++k) {
      filters.row(sourceBottom + static_cast<ptrdiff_t>(k) * source.rowBytes, buffer.data + static_cast<ptrdiff_t>(k) * stride,
                  scratch.table, scratch.pass);
    }
  }

  // Vertical pass: targetHeight rows from the buffer's sourceHeight rows.
  if (targetHeight == sourceHeight) {
    copyRows(buffer.data, stride, outputBottom, stride, sourceHeight, static_cast<size_t>(targetWidth) * 4);
  } else {
    scratch.table.compute(kernel, targetHeight, sourceHeight,
                          static_cast<double>(targetHeight) / static_cast<double>(sourceHeight));
    if (filters.vector) scratch.pass.build(scratch.table);
    for (int k = 0; k < targetHeight; ++k) {
      filters.columns(buffer.data, stride, outputBottom + static_cast<ptrdiff_t>(k) * stride, targetWidth, scratch.table,
                      scratch.pass, k);
    }
  }
  buffer.trim(kKeptBufferBytes);
  return true;
}

void ScaleFilter::setVectorPathEnabled(bool enabled) {
  setLevelCeiling(enabled ? VectorLevel::kAvx2 : VectorLevel::kScalar);
}

bool ScaleFilter::isVectorPathEnabled() { return activeLevel() != VectorLevel::kScalar; }

}  // namespace s::image::filters::scale
