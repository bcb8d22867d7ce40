#pragma once
// What every copy a gallery makes of a picture needs: its size fitted into a box,
// the resampled picture, whether any pixel is not opaque, and the picture encoded
// as JPEG or PNG with the source's colour profile; and the name "title (WxH).ext"
// it is written under before numbering.
#include <cstdint>
#include <string>
#include <string_view>

#include "s/col/_array/ArrayU08.h"
#include "s/image/ColourProfile.h"
#include "s/image/IEncodedImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/thread/Owned.h"

namespace s::image::gui::dialogs::pictorva {

class PictureCopies {
 public:
  PictureCopies() = delete;

  // The size fitted into maxWidth x maxHeight with the picture's proportions: the
  // binding side takes its limit, the other is rounded, at least 1; never enlarged.
  static void fitInto(uint32_t width, uint32_t height, uint32_t maxWidth, uint32_t maxHeight, uint32_t* fittedWidth,
                      uint32_t* fittedHeight);
  // The picture resampled to width x height (a copy at its own size); none when the
  // raster could not be made.
  static thread::Owned<win::BufferedImage> scaled(const win::BufferedImage& source, uint32_t width, uint32_t height);
  static bool isOpaque(const win::BufferedImage& image);

  struct Encoding {
    bool png = false;        // else JPEG
    int quality = 75;        // JPEG
    bool interlaced = false; // PNG
    ColourProfile profile;   // carried into the file
  };
  // The picture encoded; none when it could not be.
  static thread::Owned<col::_array::ArrayU08> encode(win::BufferedImage& image, const Encoding& encoding);
  // The encoded file of a codec object; none when there is none or it could not be
  // written.
  static thread::Owned<col::_array::ArrayU08> bytesOf(thread::Owned<IEncodedImage> encoded);
  // "title (WxH)" + extension.
  static std::u16string sizedName(std::u16string_view title, uint32_t width, uint32_t height,
                                  std::u16string_view extension);
};

}  // namespace s::image::gui::dialogs::pictorva
