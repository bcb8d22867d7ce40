#include "s/image/NearestImage.h"

namespace s::image {

namespace {

int64_t distance(int64_t a, int64_t b) { return a > b ? a - b : b - a; }

}  // namespace

bool NearestImage::findExact(const void* owner, int count, Describe describe, int width, int height, int depth,
                             int* index) {
  for (int i = 0; i < count; ++i) {
    Candidate c = describe(owner, i);
    if (c.width == width && c.height == height && c.depth == depth) {
      *index = i;
      return true;
    }
  }
  *index = 0;
  return false;
}

bool NearestImage::find(const void* owner, int count, Describe describe, int width, int height, int depth,
                        bool depthFirst, int* index) {
  constexpr int64_t kFar = -16777215;
  int64_t bestDepth = kFar;
  int64_t bestArea = kFar;
  int best = -1;
  const int64_t area = static_cast<int64_t>(width) * height;
  for (int i = 0; i < count; ++i) {
    Candidate c = describe(owner, i);
    if (c.width == width && c.height == height && c.depth == depth) {
      *index = i;
      return true;
    }
    const int64_t candidateArea = static_cast<int64_t>(c.width) * c.height;
    const int64_t depthNow = distance(depth, bestDepth), depthNew = distance(depth, c.depth);
    const int64_t areaNow = distance(area, bestArea), areaNew = distance(area, candidateArea);
    bool better;
    if (best < 0) {
      // The first picture is always a candidate, however far it is.
      better = true;
    } else if (depthFirst) {
      better = depthNew < depthNow || (depthNew == depthNow && areaNew < areaNow);
    } else {
      better = areaNew < areaNow || (areaNew == areaNow && depthNew < depthNow);
    }
    if (better) {
      bestDepth = c.depth;
      bestArea = candidateArea;
      best = i;
    }
  }
  *index = best < 0 ? 0 : best;
  return best >= 0;
}

bool NearestImage::findByDepth(const void* owner, int count, Describe describe, int width, int height, int depth,
                               int* index) {
  return find(owner, count, describe, width, height, depth, true, index);
}

bool NearestImage::findBySize(const void* owner, int count, Describe describe, int width, int height, int depth,
                              int* index) {
  return find(owner, count, describe, width, height, depth, false, index);
}

}  // namespace s::image
