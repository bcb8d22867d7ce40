#include "s/image/jpg/ExifOrientation.h"

#include <cstring>

#include "s/image/jpg/TiffReader.h"

namespace s::image::jpg {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;

}  // namespace

int ExifOrientation::fromApp1(const uint8_t* payload, size_t size) {
  if (!payload || size < sizeof(kExifHeader) || std::memcmp(payload, kExifHeader, sizeof(kExifHeader)) != 0)
    return kUpright;
  return fromTiff(payload + sizeof(kExifHeader), size - sizeof(kExifHeader));
}

int ExifOrientation::fromTiff(const uint8_t* tiff, size_t size) {
  if (!tiff) return kUpright;
  TiffReader reader(tiff, size);
  if (reader.size() < 8) return kUpright;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    reader.setBigEndian(true);
  } else if (tiff[0] != 'I' || tiff[1] != 'I') {
    return kUpright;
  }
  if (reader.u16(2) != kTiffMagic) return kUpright;
  const size_t directory = reader.u32(4);
  const size_t entryCount = reader.u16(directory);
  if (!reader.ok()) return kUpright;
  // The entries start after the count; a count larger than the block holds simply
  // runs into the end, which ends the search.
  for (size_t i = 0; i < entryCount; ++i) {
    const size_t entry = directory + 2 + i * kTiffEntryBytes;  // directory < 2^32, i < 2^16: no wrap
    const uint16_t tag = reader.u16(entry);
    if (!reader.ok()) return kUpright;
    if (tag != kOrientationTag) continue;
    const uint16_t type = reader.u16(entry + 2);
    const uint32_t count = reader.u32(entry + 4);
    // One SHORT sits in the first two bytes of the value field.
    const uint16_t value = reader.u16(entry + 8);
    if (!reader.ok() || type != kTypeShort || count != 1 || value < 1 || value > 8) return kUpright;
    return value;
  }
  return kUpright;
}

ExifOrientation::Layout ExifOrientation::layoutOf(int orientation) {
  // Upright takes: 2 a mirror, 3 a half turn, 4 a flip, 5 a transpose, 6 a quarter
  // turn clockwise, 7 a transpose across the other diagonal, 8 a quarter turn
  // anticlockwise.
  switch (orientation) {
    case 2:
      return {true, false, false};
    case 3:
      return {true, true, false};
    case 4:
      return {false, true, false};
    case 5:
      return {false, false, true};
    case 6:
      return {false, true, true};
    case 7:
      return {true, true, true};
    case 8:
      return {true, false, true};
    default:
      return {};
  }
}

}  // namespace s::image::jpg
