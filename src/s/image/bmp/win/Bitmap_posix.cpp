// Platform bitmaps and icons exist only on Windows.
#include "s/image/bmp/win/Bitmap.h"

namespace s::image::bmp::win {

bool Bitmap::copyFromHandle(BitmapHandle) { return false; }

bool Bitmap::createFromIcon(IconHandle) { return false; }

bool Bitmap::drawToHandle(BitmapHandle) const { return false; }

}  // namespace s::image::bmp::win
