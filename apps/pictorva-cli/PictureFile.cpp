#include "PictureFile.h"

#include "s/file/IFileInputStream.h"
#include "s/file/win/PathWin.h"
#include "s/image/bmp/win/Bitmap.h"
#include "s/image/gif/win/Gif.h"
#include "s/image/heif/win/Heif.h"
#include "s/image/ico/win/Icon.h"
#include "s/image/ico/win/IconImage.h"
#include "s/image/tiff/win/Tiff.h"
#include "s/image/webp/win/Webp.h"

namespace pictorva::cli {

using s::image::ImageFormat;
using s::image::ImageType;

std::u16string PictureFile::typeWord() const {
  const char16_t* word = ImageFormat::typeWord(type);
  return word ? word : u"unknown";
}

int PictureFile::keptDepth() const {
  switch (type) {
    case ImageType::kBmp: return static_cast<s::image::bmp::win::Bitmap*>(codec.get())->getBitCount();
    case ImageType::kGif: {
      const int depth = static_cast<s::image::gif::win::Gif*>(codec.get())->getBitDepth();
      return depth > 0 ? depth : 8;  // a GIF without colour table has the 8-bit gray ramp
    }
    case ImageType::kIco: {
      const auto* first = static_cast<s::image::ico::win::Icon*>(codec.get())->getIconImage(0);
      return first ? first->getBitCount() : 0;
    }
    case ImageType::kJpg: return 24;
    case ImageType::kPng: return 32;
    case ImageType::kHeic:
    case ImageType::kAvif: return static_cast<s::image::heif::win::Heif*>(codec.get())->getBitDepth();
    case ImageType::kWebp: return static_cast<s::image::webp::win::Webp*>(codec.get())->getBitDepth();
    case ImageType::kTiff: return static_cast<s::image::tiff::win::Tiff*>(codec.get())->getBitDepth();
    default: return 0;
  }
}

bool PictureFile::isAnimated() const {
  if (type == ImageType::kWebp) return static_cast<s::image::webp::win::Webp*>(codec.get())->isAnimated();
  return type == ImageType::kGif && static_cast<s::image::gif::win::Gif*>(codec.get())->getFrameCount() > 1;
}

PictureFile readPicture(std::u16string_view path) {
  PictureFile picture;
  s::thread::Owned<s::file::win::PathWin> file(s::file::win::PathWin::fromText(path));
  if (!file->exists() || file->isDirectory()) return picture;
  const int64_t size = file->getSize();
  if (s::thread::Owned<s::file::win::FileInputStream> stream = file->openInput()) {
    picture.type = ImageFormat::detect(*stream, size);
  }
  picture.codec = ImageFormat::newCodec(picture.type);
  if (picture.codec) picture.whole = picture.codec->load(file.get());
  return picture;
}

}  // namespace pictorva::cli
