#pragma once
// Hand-built APP1 Exif blocks for the orientation tests, and their insertion into a
// JPEG file.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace exif_fixtures {

// The fields of a block holding IFD0 with an orientation entry; the defaults make a
// well-formed block.
struct Block {
  bool bigEndian = false;
  uint16_t magic = 42;
  int orientation = 6;
  uint16_t type = 3;   // SHORT
  uint32_t count = 1;
  int entriesBefore = 0;  // other entries ahead of the orientation
  bool withOrientation = true;  // false leaves the orientation entry out
  uint32_t gap = 0;       // bytes between the TIFF header and IFD0
  int64_t directoryOffset = -1;  // -1: where IFD0 really is
  uint16_t entryCount = 0;       // 0: the entries there are
  size_t keepBytes = SIZE_MAX;   // the payload is cut after this many bytes
};

// The APP1 payload: "Exif\0\0", the TIFF header, IFD0.
inline std::vector<uint8_t> payload(const Block& block) {
  std::vector<uint8_t> bytes = {'E', 'x', 'i', 'f', 0, 0};
  auto u16 = [&](uint32_t value) {
    if (block.bigEndian) {
      bytes.insert(bytes.end(), {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)});
    } else {
      bytes.insert(bytes.end(), {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
    }
  };
  auto u32 = [&](uint32_t value) {
    if (block.bigEndian) {
      u16(value >> 16);
      u16(value & 0xFFFF);
    } else {
      u16(value & 0xFFFF);
      u16(value >> 16);
    }
  };
  bytes.insert(bytes.end(), block.bigEndian ? std::initializer_list<uint8_t>{'M', 'M'}
                                            : std::initializer_list<uint8_t>{'I', 'I'});
  u16(block.magic);
  u32(block.directoryOffset >= 0 ? static_cast<uint32_t>(block.directoryOffset) : 8 + block.gap);
  bytes.insert(bytes.end(), block.gap, 0xEE);
  u16(block.entryCount ? block.entryCount : static_cast<uint16_t>(block.entriesBefore + block.withOrientation));
  for (int i = 0; i < block.entriesBefore; ++i) {
    u16(0x0100 + 2 * i);  // image width, bits per sample, ...: ASCII here, 4 bytes in place
    u16(2);
    u32(4);
    u32(0x41424300);
  }
  if (block.withOrientation) {
    u16(0x0112);
    u16(block.type);
    u32(block.count);
    u16(static_cast<uint32_t>(block.orientation));  // a SHORT fills the first half of the value
    u16(0);
  }
  u32(0);  // no next directory
  if (block.keepBytes < bytes.size()) bytes.resize(block.keepBytes);
  return bytes;
}

// The JPEG file with an APP1 segment of the payload right after its start marker.
inline std::vector<uint8_t> withApp1(const std::vector<uint8_t>& jpeg, const std::vector<uint8_t>& payload) {
  const size_t length = payload.size() + 2;  // the length field counts itself
  std::vector<uint8_t> file(jpeg.begin(), jpeg.begin() + 2);
  file.insert(file.end(), {0xFF, 0xE1, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)});
  file.insert(file.end(), payload.begin(), payload.end());
  file.insert(file.end(), jpeg.begin() + 2, jpeg.end());
  return file;
}

}  // namespace exif_fixtures
