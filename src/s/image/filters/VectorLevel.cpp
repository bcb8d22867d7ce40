#include "s/image/filters/VectorLevel.h"

#include <atomic>

#include "s/image/filters/scale/_resample/Passes.h"

namespace s::image::filters {
namespace {

std::atomic<int> ceiling{static_cast<int>(VectorLevel::kAvx2)};

VectorLevel detect() {
#ifdef PICTORVA_RESAMPLE_X86
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return VectorLevel::kAvx2;
  if (__builtin_cpu_supports("sse2")) return VectorLevel::kSse2;  // every x86-64 processor
  return VectorLevel::kScalar;
#else
  return VectorLevel::kScalar;
#endif
}

}  // namespace

VectorLevel detectedLevel() {
  static const VectorLevel level = detect();
  return level;
}

VectorLevel activeLevel() {
  int detected = static_cast<int>(detectedLevel());
  int cap = ceiling.load(std::memory_order_relaxed);
  return static_cast<VectorLevel>(detected < cap ? detected : cap);
}

void setLevelCeiling(VectorLevel level) { ceiling.store(static_cast<int>(level), std::memory_order_relaxed); }

VectorLevel getLevelCeiling() { return static_cast<VectorLevel>(ceiling.load(std::memory_order_relaxed)); }

}  // namespace s::image::filters
