#include "s/image/ImageFormat.h"

#include <cstring>

#include "s/file/win/PathWin.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/heif/HeifBrands.h"
#include "s/image/heif/win/Heif.h"
#include "s/image/ico/win/Icon.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/image/png/win/Png.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/webp/win/Webp.h"
#include "s/io/ByteCursor.h"
#include "s/io/Streams.h"
#include "s/thread/Owned.h"

namespace s::image {

bool ImageFormat::isJpegMarker(uint8_t code) {
  return code == 0x01 || (code >= 0xC0 && code <= 0xEF) || code == 0xF0 || code == 0xFD || code == 0xFE;
}

bool ImageFormat::checkIcoDirectory(const uint8_t* prefix, int64_t fileSize) {
  io::ByteCursor cursor(prefix, kPrefixBytes);
  cursor.skip(4);  // reserved 0, type 1
  const int count = cursor.u16();
  if (count == 0 || fileSize <= 6 + 16 * static_cast<int64_t>(count)) return false;
  // Only the entries that start before byte 84 (at most five) lie wholly inside
  // the prefix; later ones are left to the decoder.
  for (int i = 0; i < count; ++i) {
    const int64_t entryStart = 6 + 16 * static_cast<int64_t>(i);
    if (entryStart >= 84) break;
    io::ByteCursor entry(prefix + entryStart, 16);
    entry.skip(3);  // width, height, colour count
    const uint8_t reserved = entry.u8();
    entry.skip(2);  // planes
    const uint16_t bitCount = entry.u16();
    const uint32_t dataSize = entry.u32();
    const uint32_t dataOffset = entry.u32();
    if (reserved != 0 || bitCount > 32) return false;
    if (dataOffset < entryStart + 16) return false;
    // 64-bit: offset + size can pass 2^32.
    if (static_cast<int64_t>(dataOffset) + dataSize > fileSize) return false;
  }
  return true;
}

ImageType ImageFormat::detect(const uint8_t* prefix, size_t prefixBytes, int64_t fileSize) {
  if (fileSize <= static_cast<int64_t>(kPrefixBytes) || prefixBytes < kPrefixBytes) return ImageType::kUnknown;
  const uint8_t* p = prefix;
  if (p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return isJpegMarker(p[3]) ? ImageType::kJpg : ImageType::kUnknown;
  if (std::memcmp(p, "GIF87a", 6) == 0 || std::memcmp(p, "GIF89a", 6) == 0) return ImageType::kGif;
  static const uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  if (std::memcmp(p, kPngSignature, 8) == 0) return ImageType::kPng;
  if (p[0] == 'B' && p[1] == 'M' && p[6] == 0 && p[7] == 0 && p[8] == 0 && p[9] == 0) return ImageType::kBmp;
  if (std::memcmp(p, "MM*", 3) == 0 || std::memcmp(p, "II*", 3) == 0) return ImageType::kTiff;
  if (p[0] == 0 && p[1] == 0 && p[2] == 1 && p[3] == 0 && checkIcoDirectory(p, fileSize)) return ImageType::kIco;
  return detectLater(p);
}

ImageType ImageFormat::detectLater(const uint8_t* p) {
  if (std::memcmp(p + 4, "ftyp", 4) == 0) {
    const uint32_t boxSize = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    if (boxSize < 16) return ImageType::kUnknown;
    // The brands that lie within the prefix; the rest of a long list is not needed.
    const size_t payload = (boxSize < kPrefixBytes ? boxSize : kPrefixBytes) - 8;
    const heif::HeifKind kind = heif::HeifBrands::classify(p + 8, payload);
    if (kind == heif::HeifKind::kAvif) return ImageType::kAvif;
    if (kind == heif::HeifKind::kHeic) return ImageType::kHeic;
    return ImageType::kUnknown;
  }
  if (std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WEBP", 4) == 0) return ImageType::kWebp;
  static const uint8_t kTiffSignatures[4][4] = {
      {'I', 'I', 42, 0}, {'M', 'M', 0, 42}, {'I', 'I', 43, 0}, {'M', 'M', 0, 43}};
  for (const uint8_t* signature : kTiffSignatures)
    if (std::memcmp(p, signature, 4) == 0) return ImageType::kTiff;
  return ImageType::kUnknown;
}

ImageType ImageFormat::detect(io::IInputStream& in, int64_t fileSize) {
  uint8_t prefix[kPrefixBytes];
  const size_t got = io::Streams::readFully(in, prefix, sizeof(prefix));
  return detect(prefix, got, fileSize);
}

const char16_t* ImageFormat::typeWord(ImageType type) {
  switch (type) {
    case ImageType::kJpg: return u"jpg";
    case ImageType::kGif: return u"gif";
    case ImageType::kPng: return u"png";
    case ImageType::kBmp: return u"bmp";
    case ImageType::kTiff: return u"tiff";
    case ImageType::kIco: return u"ico";
    case ImageType::kHeic: return u"heic";
    case ImageType::kAvif: return u"avif";
    case ImageType::kWebp: return u"webp";
    case ImageType::kUnknown: break;
  }
  return nullptr;
}

thread::Owned<IEncodedImage> ImageFormat::newCodec(ImageType type) {
  switch (type) {
    case ImageType::kBmp: return thread::Owned<IEncodedImage>(bmp::win::Bitmap::create());
    case ImageType::kJpg: return thread::Owned<IEncodedImage>(jpg::win::Jpeg::create());
    case ImageType::kPng: return thread::Owned<IEncodedImage>(png::win::Png::create());
    case ImageType::kGif: return thread::Owned<IEncodedImage>(gif::win::Gif::create());
    case ImageType::kIco: return thread::Owned<IEncodedImage>(ico::win::Icon::create());
    case ImageType::kHeic:
    case ImageType::kAvif: return thread::Owned<IEncodedImage>(heif::win::Heif::create());
    case ImageType::kWebp: return thread::Owned<IEncodedImage>(webp::win::Webp::create());
    case ImageType::kTiff: return thread::Owned<IEncodedImage>(tiff::win::Tiff::create());
    default: return nullptr;
  }
}

thread::Owned<IEncodedImage> ImageFormat::decode(io::IInputStream& in, int64_t fileSize) {
  const int64_t start = in.getPosition();
  thread::Owned<IEncodedImage> codec = newCodec(detect(in, fileSize));
  if (!codec) return nullptr;
  if (in.seek(start)) (void)codec->read(in);
  return codec;
}

namespace {

ImageType detectPath(file::IPath* path) {
  if (!path || !path->exists() || path->isDirectory()) return ImageType::kUnknown;
  const int64_t size = path->getSize();
  if (size <= static_cast<int64_t>(ImageFormat::kPrefixBytes)) return ImageType::kUnknown;
  thread::Owned<file::IFileInputStream> stream = path->openInput();
  return stream ? ImageFormat::detect(*stream, size) : ImageType::kUnknown;
}

}  // namespace

bool detectImageFormat(std::u16string_view path, const char16_t** type) {
  thread::Owned<file::win::PathWin> object(file::win::PathWin::fromText(path));
  const char16_t* word = ImageFormat::typeWord(detectPath(object.get()));
  if (type) *type = word;
  return word != nullptr;
}

thread::Owned<IEncodedImage> decodeImageFile(file::IPath* path) {
  thread::Owned<IEncodedImage> codec = ImageFormat::newCodec(detectPath(path));
  if (codec) (void)codec->load(path);
  return codec;
}

}  // namespace s::image
