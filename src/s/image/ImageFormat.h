#pragma once
// Recognising image files by their first bytes, and the codec for each format.
//
// A file is examined only when it is longer than 100 bytes; its first 100 bytes
// decide, most distinctive signature first: JPEG, GIF, PNG, BMP, TIFF ("II*" or
// "MM*"), ICO; then the later formats, so that nothing these recognise changes:
// - an ISO base media file: bytes 4-7 "ftyp", the box's big-endian size at 0-3 at
//   least 16; its brands (as far as the box lies within the 100 bytes) decide
//   between AVIF and HEIC as heif::HeifBrands says, else it is not recognised;
// - WebP: "RIFF" at 0-3 and "WEBP" at 8-11;
// - TIFF in its proper forms: "II*\0", "MM\0*", and BigTIFF "II+\0", "MM\0+".
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "s/image/IEncodedImage.h"
#include "s/io/IInputStream.h"
#include "s/thread/Owned.h"

namespace s::file {
class IPath;
}

namespace s::image {

enum class ImageType : uint8_t { kUnknown, kJpg, kGif, kPng, kBmp, kTiff, kIco, kHeic, kAvif, kWebp };

class ImageFormat {
 public:
  static constexpr size_t kPrefixBytes = 100;

  // prefix: the file's first prefixBytes bytes (fewer than 100: unknown);
  // fileSize: the whole file's size in bytes.
  static ImageType detect(const uint8_t* prefix, size_t prefixBytes, int64_t fileSize);
  // Reads the first 100 bytes from the stream's current position.
  static ImageType detect(io::IInputStream& in, int64_t fileSize);
  // "jpg", "gif", "png", "bmp", "tiff", "ico", "heic", "avif", "webp"; none for
  // kUnknown.
  static const char16_t* typeWord(ImageType type);
  // A new, empty codec object for the type, or none for unknown files. HEIC and
  // AVIF share one codec.
  static thread::Owned<IEncodedImage> newCodec(ImageType type);
  // Detection, a new codec and read from the stream (at its start, of fileSize
  // bytes). The object comes back even when the file was damaged (it then holds
  // what could be read); none when nothing could be recognised.
  static thread::Owned<IEncodedImage> decode(io::IInputStream& in, int64_t fileSize);

 private:
  static bool isJpegMarker(uint8_t code);
  static bool checkIcoDirectory(const uint8_t* prefix, int64_t fileSize);
  static ImageType detectLater(const uint8_t* prefix);
};

// Recognises the file at path by its content: true and the type word ("jpg",
// "gif", "png", "bmp", "tiff", "ico", "heic", "avif", "webp") in *type, or false
// for a missing file, a folder, a file of 100 bytes or fewer, a failed read or an
// unknown signature.
bool detectImageFormat(std::u16string_view path, const char16_t** type);
// Detection, a new codec object for the detected format, and load. None for unknown
// files. A damaged file still gives the object, holding what could be read.
thread::Owned<IEncodedImage> decodeImageFile(file::IPath* path);

}  // namespace s::image
