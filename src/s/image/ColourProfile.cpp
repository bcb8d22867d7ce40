#include "s/image/ColourProfile.h"

#include <cstring>

namespace s::image {

namespace {

uint32_t bigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

ColourProfile ColourProfile::fromBytes(const uint8_t* data, size_t size) {
  ColourProfile profile;
  if (!data || size < kHeaderBytes || size > kMaxBytes) return profile;
  // Header: the profile's size at 0, its data colour space at 16, "acsp" at 36. A
  // container may pad the profile, so the declared size may be smaller than the
  // bytes given (never larger); the profile is its declared size.
  const uint32_t declared = bigEndian32(data);
  if (declared < kHeaderBytes || declared > size) return profile;
  if (std::memcmp(data + 36, "acsp", 4) != 0 || std::memcmp(data + 16, "RGB ", 4) != 0) return profile;
  profile.bytes_ = std::make_shared<const std::vector<uint8_t>>(data, data + declared);
  return profile;
}

bool ColourProfile::operator==(const ColourProfile& other) const {
  if (bytes_ == other.bytes_) return true;
  return bytes_ && other.bytes_ && *bytes_ == *other.bytes_;
}

}  // namespace s::image
