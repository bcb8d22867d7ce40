// Platform icons exist only on Windows.
#include "s/image/ico/win/IconImage.h"

namespace s::image::ico::win {

IconHandle IconImage::createIconHandle() { return nullptr; }

}  // namespace s::image::ico::win
