#include "s/image/png/win/PngGuard.h"

namespace s::image::png::win {

void PngGuard::onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void PngGuard::onWarning(png_structp, png_const_charp) {}

}  // namespace s::image::png::win
