// Palette depths of the BMP encoder.
#include "s/image/bmp/win/Bitmap.h"

namespace s::image::bmp::win {

bool Bitmap::encodeIndexed(image::win::BufferedImage*, int) { return true; }

}  // namespace s::image::bmp::win
