#include "s/image/heif/HeifBrands.h"

#include <cstring>
#include <iterator>

namespace s::image::heif {

namespace {

bool isOneOf(const uint8_t* brand, const char* const* names, size_t count) {
  for (size_t i = 0; i < count; ++i)
    if (std::memcmp(brand, names[i], 4) == 0) return true;
  return false;
}

constexpr const char* kAv1Brands[] = {"avif", "avis"};
constexpr const char* kHevcBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx"};
constexpr const char* kStructuralBrands[] = {"mif1", "msf1"};

// The kind a brand names by its coding, or none.
HeifKind codingOf(const uint8_t* brand) {
  if (isOneOf(brand, kAv1Brands, std::size(kAv1Brands))) return HeifKind::kAvif;
  if (isOneOf(brand, kHevcBrands, std::size(kHevcBrands))) return HeifKind::kHeic;
  return HeifKind::kNone;
}

}  // namespace

HeifKind HeifBrands::classify(const uint8_t* payload, size_t size) {
  if (!payload || size < 4) return HeifKind::kNone;
  // The major brand, then the compatible brands after the minor version.
  const HeifKind major = codingOf(payload);
  if (major != HeifKind::kNone) return major;
  bool structural = isOneOf(payload, kStructuralBrands, std::size(kStructuralBrands));
  for (size_t at = 8; size >= 4 && at <= size - 4; at += 4) {
    const HeifKind kind = codingOf(payload + at);
    if (kind != HeifKind::kNone) return kind;
    structural = structural || isOneOf(payload + at, kStructuralBrands, std::size(kStructuralBrands));
  }
  return structural ? HeifKind::kHeic : HeifKind::kNone;
}

}  // namespace s::image::heif
