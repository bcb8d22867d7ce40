#pragma once
// The small copy a Tile gallery makes of a decoded picture, built as its scale pass
// builds it: the frames of an animation composed, every picture fitted into the
// cell (never enlarged) with the gallery's scale filter, then a codec of the
// source's own format made from the result and written.
#include <cstdint>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/IEncodedImage.h"
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/util/Sizer.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace small_copy {

// The written small copy, or nothing when the gallery would make none.
inline std::vector<uint8_t> make(s::image::IEncodedImage& codec, int cellWidth, int cellHeight) {
  using s::image::win::BufferedImageSet;
  using s::thread::Owned;
  Owned<BufferedImageSet> set(codec.toImageSet(0));
  if (set->isAnimated()) {
    Owned<BufferedImageSet> composed(set->composeFrames());
    set = std::move(composed);
  }
  Owned<s::image::util::Sizer> sizer = s::thread::make<s::image::util::Sizer>();
  sizer->mode = s::image::util::Sizer::kModeSingle;
  sizer->absolute = true;
  sizer->width = cellWidth;
  sizer->height = cellHeight;
  sizer->keepRatio = true;
  sizer->limitPolicy = s::image::util::Sizer::kLimitShrink;
  sizer->buildSizes();
  if (set->getCount() == 0 || !sizer->isApplicable(0, *set)) return {};
  for (int i = 0; i < set->getCount(); ++i) set->getImage(i)->addFilter(sizer->makeScaleFilter(0, *set));
  set->recomputePrimarySize();
  Owned<s::image::IEncodedImage> small(codec.createLike(set.get()));
  testing_streams::MemoryOutputStream out;
  if (!small || !small->write(out)) return {};
  return out.data;
}

}  // namespace small_copy
