// A platform icon from the image's entry data.
#include <windows.h>

#include "s/col/_array/ArrayU08.h"
#include "s/image/ico/win/IconImage.h"

namespace s::image::ico::win {

IconHandle IconImage::createIconHandle() {
  if (!ensureEncoded()) return nullptr;
  const col::_array::ArrayU08& bytes = getEncoded();
  auto* data = const_cast<BYTE*>(bytes.data());
  const DWORD size = static_cast<DWORD>(bytes.getCount());
  constexpr DWORD kResourceVersion = 0x00030000;
  HICON icon = CreateIconFromResourceEx(data, size, TRUE, kResourceVersion, getWidth(), getHeight(), LR_DEFAULTCOLOR);
  // The platform refuses some sizes; at its default size it may still make one.
  if (!icon && getBitCount() != 16)
    icon = CreateIconFromResourceEx(data, size, TRUE, kResourceVersion, 0, 0, LR_DEFAULTCOLOR | LR_DEFAULTSIZE);
  return icon;
}

}  // namespace s::image::ico::win
