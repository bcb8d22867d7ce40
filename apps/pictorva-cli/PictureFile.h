#pragma once
// A picture file read by content for the info and convert commands.
#include <string>
#include <string_view>

#include "s/image/IEncodedImage.h"
#include "s/image/ImageFormat.h"
#include "s/thread/Owned.h"

namespace pictorva::cli {

struct PictureFile {
  s::image::ImageType type = s::image::ImageType::kUnknown;
  // The codec that read the file; none for unknown files.
  s::thread::Owned<s::image::IEncodedImage> codec;
  // The codec read the whole file without damage.
  bool whole = false;

  // The type word of the content: "bmp", ..., "webp", or "unknown".
  std::u16string typeWord() const;
  // The depth createLike keeps: the BMP's bit count, the GIF's colour-table depth,
  // the first icon image's bit count, 24 for JPEG, 32 for PNG; the depth of the
  // file for the others: the luma bits of HEIC and AVIF, 24 or 32 (with alpha) for
  // WebP, bits per sample x samples per pixel for TIFF.
  int keptDepth() const;
  // A GIF or a WebP of more than one frame.
  bool isAnimated() const;
};

// Detects the file's format by content and reads it.
PictureFile readPicture(std::u16string_view path);

}  // namespace pictorva::cli
