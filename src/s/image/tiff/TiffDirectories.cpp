#include "s/image/tiff/TiffDirectories.h"

#include <unordered_set>

namespace s::image::tiff {

namespace {

// Numbers of the file's byte order; every read is checked by the caller first.
class Numbers {
 public:
  Numbers(const uint8_t* data, bool bigEndian) : data_(data), bigEndian_(bigEndian) {}
  uint64_t read(uint64_t at, int bytes) const {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
      const uint64_t byte = data_[at + static_cast<uint64_t>(bigEndian_ ? i : bytes - 1 - i)];
      value = (value << 8) | byte;
    }
    return value;
  }

 private:
  const uint8_t* data_;
  bool bigEndian_;
};

struct Format {
  int countBytes;  // of a directory's entry count
  int entryBytes;
  int offsetBytes;  // of the next-directory offset
};

// The offset of the directory after the one at `at`, or false when that directory
// does not lie wholly within the file.
bool nextOf(const Numbers& numbers, const Format& format, uint64_t at, uint64_t size, uint64_t* next) {
  if (at > size || size - at < static_cast<uint64_t>(format.countBytes)) return false;
  const uint64_t count = numbers.read(at, format.countBytes);
  const uint64_t left = size - at - static_cast<uint64_t>(format.countBytes);
  // count * entryBytes is compared by division, so a 64-bit count cannot wrap.
  if (count > left / static_cast<uint64_t>(format.entryBytes)) return false;
  const uint64_t entries = count * static_cast<uint64_t>(format.entryBytes);
  if (left - entries < static_cast<uint64_t>(format.offsetBytes)) return false;
  *next = numbers.read(at + static_cast<uint64_t>(format.countBytes) + entries, format.offsetBytes);
  return true;
}

}  // namespace

TiffCheck TiffDirectories::count(const uint8_t* data, size_t size, int* pages) {
  *pages = 0;
  if (!data || size < 8) return TiffCheck::kNotTiff;
  const bool bigEndian = data[0] == 'M' && data[1] == 'M';
  if (!bigEndian && !(data[0] == 'I' && data[1] == 'I')) return TiffCheck::kNotTiff;
  const Numbers numbers(data, bigEndian);
  const uint64_t magic = numbers.read(2, 2);
  Format format{2, 12, 4};
  uint64_t first = 0;
  if (magic == 42) {
    first = numbers.read(4, 4);
  } else if (magic == 43) {
    if (size < 16) return TiffCheck::kNotTiff;
    if (numbers.read(4, 2) != 8 || numbers.read(6, 2) != 0) return TiffCheck::kBigTiffHeader;
    format = Format{8, 20, 8};
    first = numbers.read(8, 8);
  } else {
    return TiffCheck::kNotTiff;
  }
  uint64_t next = 0;
  if (first == 0 || !nextOf(numbers, format, first, size, &next)) return TiffCheck::kFirstDirectory;
  std::unordered_set<uint64_t> seen{first};
  *pages = 1;
  while (next != 0 && seen.insert(next).second) {
    if (*pages >= kMaxPages) return TiffCheck::kTooManyPages;
    uint64_t after = 0;
    if (!nextOf(numbers, format, next, size, &after)) break;
    ++*pages;
    next = after;
  }
  return TiffCheck::kOk;
}

}  // namespace s::image::tiff
