#pragma once
// The searches shared by every holder of several pictures (image sets, GIF frames,
// icon images): the exact match, and the nearest picture by depth or by area.
// Areas are computed in 64 bits.
#include <cstdint>

namespace s::image {

class NearestImage {
 public:
  struct Candidate {
    int width;
    int height;
    int depth;
  };
  // Picture i's width, height and depth.
  using Describe = Candidate (*)(const void* owner, int index);

  // First picture with exactly these values; else index 0 and false.
  static bool findExact(const void* owner, int count, Describe describe, int width, int height, int depth,
                        int* index);
  // Nearest picture: depth distance first, then area distance (ties keep the
  // earlier picture). An exact match answers at once. False (index 0) when empty.
  static bool findByDepth(const void* owner, int count, Describe describe, int width, int height, int depth,
                          int* index);
  // The same with area distance first.
  static bool findBySize(const void* owner, int count, Describe describe, int width, int height, int depth,
                         int* index);

 private:
  static bool find(const void* owner, int count, Describe describe, int width, int height, int depth, bool depthFirst,
                   int* index);
};

}  // namespace s::image
