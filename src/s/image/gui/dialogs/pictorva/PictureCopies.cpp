#include "s/image/gui/dialogs/pictorva/PictureCopies.h"

#include <algorithm>
#include <cmath>

#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/jpg/EncodeSetting.h"
#include "s/image/png/EncodeSetting.h"
#include "s/str/Decimal.h"

namespace s::image::gui::dialogs::pictorva {

using col::_array::ArrayU08;
using filters::scale::ScaleFilter;
using thread::Owned;
using win::BufferedImage;

void PictureCopies::fitInto(uint32_t width, uint32_t height, uint32_t maxWidth, uint32_t maxHeight,
                            uint32_t* fittedWidth, uint32_t* fittedHeight) {
  *fittedWidth = width;
  *fittedHeight = height;
  if (width == 0 || height == 0 || (width <= maxWidth && height <= maxHeight)) return;
  // The side whose limit binds harder: width / maxWidth against height / maxHeight,
  // compared crosswise in 64 bits.
  if (static_cast<uint64_t>(width) * maxHeight >= static_cast<uint64_t>(height) * maxWidth) {
    *fittedWidth = maxWidth;
    *fittedHeight = static_cast<uint32_t>(std::llround(static_cast<double>(height) * maxWidth / width));
  } else {
    *fittedHeight = maxHeight;
    *fittedWidth = static_cast<uint32_t>(std::llround(static_cast<double>(width) * maxHeight / height));
  }
  *fittedWidth = std::max<uint32_t>(*fittedWidth, 1);
  *fittedHeight = std::max<uint32_t>(*fittedHeight, 1);
}

Owned<BufferedImage> PictureCopies::scaled(const BufferedImage& source, uint32_t width, uint32_t height) {
  Owned<BufferedImage> result(source.newImage(static_cast<int>(width), static_cast<int>(height)));
  if (!result || result->getWidth() != static_cast<int>(width) || result->getHeight() != static_cast<int>(height))
    return {};
  if (width == static_cast<uint32_t>(source.getWidth()) && height == static_cast<uint32_t>(source.getHeight())) {
    source.copyTo(result.get());
    return result;
  }
  const auto& kernel = ScaleFilter::sharedKernel(filters::scale::kKernelBilinear);
  if (!ScaleFilter::resampleInto(source.view(), result->view(), kernel)) return {};
  result->setAlpha(source.hasAlpha());
  return result;
}

bool PictureCopies::isOpaque(const BufferedImage& image) {
  for (int y = 0; y < image.getHeight(); ++y) {
    const uint8_t* pixel = image.getLine(y);
    for (int x = 0; x < image.getWidth(); ++x, pixel += 4) {
      if (pixel[3] != 255) return false;
    }
  }
  return true;
}

Owned<ArrayU08> PictureCopies::bytesOf(Owned<IEncodedImage> encoded) {
  if (!encoded) return {};
  Owned<ArrayU08> bytes(ArrayU08::create());
  if (!encoded->write(*bytes)) return {};
  return bytes;
}

Owned<ArrayU08> PictureCopies::encode(BufferedImage& image, const Encoding& encoding) {
  Owned<IEncodedImage> encoded;
  if (encoding.png) {
    Owned<png::EncodeSetting> setting = thread::make<png::EncodeSetting>();
    setting->interlace = encoding.interlaced;
    encoded = setting->encodeImage(&image);
  } else {
    Owned<jpg::EncodeSetting> setting = thread::make<jpg::EncodeSetting>();
    setting->quality = encoding.quality;
    encoded = setting->encodeImage(&image);
  }
  if (encoded) encoded->setColourProfile(encoding.profile);
  return bytesOf(std::move(encoded));
}

std::u16string PictureCopies::sizedName(std::u16string_view title, uint32_t width, uint32_t height,
                                        std::u16string_view extension) {
  std::u16string name(title);
  name += u" (";
  name += str::decimal(width);
  name += u"x";
  name += str::decimal(height);
  name += u")";
  name += extension;
  return name;
}

}  // namespace s::image::gui::dialogs::pictorva
