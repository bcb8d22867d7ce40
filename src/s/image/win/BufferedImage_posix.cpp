// Without a platform drawing system, drawing and printing do nothing.
#include "s/image/win/BufferedImage.h"

namespace s::image::win {

void BufferedImage::drawTo(DeviceContextHandle, int, int, int, int, bool) {}

void BufferedImage::print(bool, bool, bool) {}

}  // namespace s::image::win
