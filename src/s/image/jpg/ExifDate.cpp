#include "s/image/jpg/ExifDate.h"

#include <cstring>

#include "s/image/jpg/TiffReader.h"

namespace s::image::jpg {

namespace {

constexpr uint16_t kExifDirectoryTag = 0x8769;
constexpr uint16_t kDateTimeOriginalTag = 0x9003;
constexpr uint16_t kTypeAscii = 2;
constexpr uint16_t kTypeLong = 4;
constexpr uint32_t kDateBytes = 20;  // "YYYY:MM:DD HH:MM:SS" and its zero

// JPEG markers: start of image, start of scan, end of image, the first APP.
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr uint8_t kApp1 = 0xE1;

// The entry of tag in the directory at `directory`, or 0 when there is none (no
// entry lies at offset 0: the TIFF header is there).
size_t findEntry(TiffReader& reader, size_t directory, uint16_t tag) {
  const size_t entryCount = reader.u16(directory);
  if (!reader.ok()) return 0;
  for (size_t i = 0; i < entryCount; ++i) {
    const size_t entry = directory + 2 + i * kTiffEntryBytes;  // directory < 2^32, i < 2^16: no wrap
    const uint16_t found = reader.u16(entry);
    if (!reader.ok()) return 0;
    if (found == tag) return entry;
  }
  return 0;
}

int digits(const uint8_t* text, size_t count) {
  int value = 0;
  for (size_t i = 0; i < count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysIn(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

std::u16string ExifDate::fromText(const uint8_t* text, size_t size) {
  if (!text || size < 19) return {};
  if (text[4] != ':' || text[7] != ':' || text[10] != ' ' || text[13] != ':' || text[16] != ':') return {};
  const int year = digits(text, 4);
  const int month = digits(text + 5, 2);
  const int day = digits(text + 8, 2);
  const int hour = digits(text + 11, 2);
  const int minute = digits(text + 14, 2);
  const int second = digits(text + 17, 2);
  // Cameras without a clock write zeros or blanks; a leap second is a real time.
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysIn(month, year)) return {};
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60) return {};
  std::u16string date;
  for (size_t i = 0; i < 10; ++i) date.push_back(i == 4 || i == 7 ? u'-' : static_cast<char16_t>(text[i]));
  return date;
}

std::u16string ExifDate::fromApp1(const uint8_t* payload, size_t size) {
  if (!payload || size < sizeof(kExifHeader) || std::memcmp(payload, kExifHeader, sizeof(kExifHeader)) != 0)
    return {};
  const uint8_t* tiff = payload + sizeof(kExifHeader);
  TiffReader reader(tiff, size - sizeof(kExifHeader));
  if (reader.size() < 8) return {};
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    reader.setBigEndian(true);
  } else if (tiff[0] != 'I' || tiff[1] != 'I') {
    return {};
  }
  if (reader.u16(2) != kTiffMagic) return {};
  const size_t pointer = findEntry(reader, reader.u32(4), kExifDirectoryTag);
  if (pointer == 0 || reader.u16(pointer + 2) != kTypeLong || reader.u32(pointer + 4) != 1) return {};
  const size_t entry = findEntry(reader, reader.u32(pointer + 8), kDateTimeOriginalTag);
  if (entry == 0 || reader.u16(entry + 2) != kTypeAscii || reader.u32(entry + 4) != kDateBytes) return {};
  // Twenty bytes do not fit the entry's four: the value field holds their offset.
  const uint8_t* text = reader.bytes(reader.u32(entry + 8), kDateBytes);
  if (!reader.ok() || !text) return {};
  return fromText(text, kDateBytes);
}

std::u16string ExifDate::fromJpegHead(const uint8_t* bytes, size_t size) {
  if (!bytes || size < 2 || bytes[0] != 0xFF || bytes[1] != kStartOfImage) return {};
  size_t at = 2;
  // Each segment: 0xFF, its marker (fill bytes 0xFF may come first), a big-endian
  // length that counts itself and the payload. Compared as `at <= size - 4` so that
  // no sum can wrap.
  while (size >= 4 && at <= size - 4) {
    if (bytes[at] != 0xFF) return {};
    const uint8_t marker = bytes[at + 1];
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    if (marker == kStartOfScan || marker == kEndOfImage) return {};
    // Restart markers and TEM stand alone, without a length.
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
      at += 2;
      continue;
    }
    const size_t length = static_cast<size_t>(bytes[at + 2]) << 8 | bytes[at + 3];
    if (length < 2 || length > size - at - 2) return {};
    if (marker == kApp1) {
      std::u16string date = fromApp1(bytes + at + 4, length - 2);
      if (!date.empty()) return date;
    }
    at += 2 + length;
  }
  return {};
}

}  // namespace s::image::jpg
