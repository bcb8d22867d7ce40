#pragma once
// Which instruction level the image filters (resampling, convolution) use. The best level the processor
// offers is found once; a ceiling set at run time lowers it (down to the scalar
// reference), so one program can compare every level.
namespace s::image::filters {

enum class VectorLevel : int { kScalar = 0, kSse2 = 1, kAvx2 = 2 };

// The best level this processor supports.
VectorLevel detectedLevel();
// The level in use: the detected one, lowered to the ceiling.
VectorLevel activeLevel();
// Caps the level in use; kAvx2 (the default) means no cap.
void setLevelCeiling(VectorLevel ceiling);
VectorLevel getLevelCeiling();

}  // namespace s::image::filters
