// The pixel image's non-virtual whole-picture operations.
#include <cstring>

#include "s/image/win/BufferedImage.h"

namespace s::image::win {

namespace {

// Calls visit(pixel) for every pixel of the logical area, top row first.
template <class Visit>
void forEachPixel(BufferedImage* image, Visit visit) {
  const int width = image->getWidth();
  for (int y = 0; y < image->getHeight(); ++y) {
    uint8_t* pixel = image->getLine(y);
    for (int x = 0; x < width; ++x, pixel += 4) visit(pixel);
  }
}

}  // namespace

void BufferedImage::detectAlpha(BufferedImage* image) {
  bool any = false;
  forEachPixel(image, [&](uint8_t* pixel) { any |= pixel[3] != 255; });
  image->hasAlpha_ = any;
}

void BufferedImage::setOpaque(BufferedImage* image) {
  forEachPixel(image, [](uint8_t* pixel) { pixel[3] = 255; });
  image->hasAlpha_ = false;
}

void BufferedImage::fill(BufferedImage* image, int alpha, int red, int green, int blue) {
  const uint8_t colour[4] = {static_cast<uint8_t>(blue), static_cast<uint8_t>(green), static_cast<uint8_t>(red),
                             static_cast<uint8_t>(alpha)};
  forEachPixel(image, [&](uint8_t* pixel) { std::memcpy(pixel, colour, 4); });
  image->hasAlpha_ = static_cast<uint8_t>(alpha) != 255;
}

void BufferedImage::applyColourKey(BufferedImage* image, int red, int green, int blue) {
  forEachPixel(image, [&](uint8_t* pixel) {
    if (pixel[0] == static_cast<uint8_t>(blue) && pixel[1] == static_cast<uint8_t>(green) &&
        pixel[2] == static_cast<uint8_t>(red)) {
      pixel[3] = 0;
      image->hasAlpha_ = true;
    } else {
      pixel[3] = 255;
    }
  });
}

void BufferedImage::recolourTransparent(BufferedImage* image, int red, int green, int blue) {
  if (!image->hasAlpha_) return;
  forEachPixel(image, [&](uint8_t* pixel) {
    if (pixel[3] != 0) return;
    pixel[0] = static_cast<uint8_t>(blue);
    pixel[1] = static_cast<uint8_t>(green);
    pixel[2] = static_cast<uint8_t>(red);
  });
}

void BufferedImage::maskByImage(BufferedImage* image, const BufferedImage* mask) {
  if (!mask) return;
  // Only the area both images cover is compared.
  const int width = image->width_ < mask->width_ ? image->width_ : mask->width_;
  const int height = image->height_ < mask->height_ ? image->height_ : mask->height_;
  for (int y = 0; y < height; ++y) {
    uint8_t* pixel = image->getLine(y);
    const uint8_t* other = mask->getLine(y);
    for (int x = 0; x < width; ++x, pixel += 4, other += 4) {
      if (std::memcmp(pixel, other, 3) == 0) {
        pixel[3] = 0;
        image->hasAlpha_ = true;
      }
    }
  }
}

void BufferedImage::thresholdAlpha(BufferedImage* image, int threshold) {
  bool any = false;
  forEachPixel(image, [&](uint8_t* pixel) {
    if (pixel[3] < threshold) {
      pixel[3] = 0;
      any = true;
    } else {
      pixel[3] = 255;
    }
  });
  image->hasAlpha_ = any;
}

bool BufferedImage::hidesTransparency(const BufferedImage* next, const BufferedImage* shown, int threshold) {
  const int width = next->width_ < shown->width_ ? next->width_ : shown->width_;
  const int height = next->height_ < shown->height_ ? next->height_ : shown->height_;
  for (int y = 0; y < height; ++y) {
    const uint8_t* pixel = next->getLine(y);
    const uint8_t* below = shown->getLine(y);
    for (int x = 0; x < width; ++x, pixel += 4, below += 4)
      if (pixel[3] < threshold && below[3] >= threshold) return true;
  }
  return false;
}

void BufferedImage::flattenOnWhite(BufferedImage* image) {
  if (!image->hasAlpha_) return;
  forEachPixel(image, [](uint8_t* pixel) {
    const int a = pixel[3];
    if (a == 255) return;
    if (a == 0) {
      std::memset(pixel, 255, 4);
      return;
    }
    for (int k = 0; k < 3; ++k) pixel[k] = static_cast<uint8_t>((pixel[k] * (a + 1) + 255 * (256 - a)) >> 8);
    pixel[3] = 255;
  });
  image->hasAlpha_ = false;
}

}  // namespace s::image::win
