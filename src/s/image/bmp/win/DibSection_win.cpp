#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "s/image/bmp/win/DibSection.h"

namespace s::image::bmp::win {

bool DibSection::create(const uint8_t* bitmapInfo, size_t infoBytes, size_t pixelBytes, bool zeroed) {
  destroy();
  // BITMAPINFO holds a header and a colour table of variable length; copy it into
  // an aligned block large enough for 256 entries.
  alignas(BITMAPINFO) uint8_t info[sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)] = {};
  std::memcpy(info, bitmapInfo, infoBytes < sizeof(info) ? infoBytes : sizeof(info));
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (section && bits) {
    handle_ = section;
    bits_ = static_cast<uint8_t*>(bits);
    if (zeroed) std::memset(bits_, 0, pixelBytes);
    return true;
  }
  if (section) DeleteObject(section);
  // GDI refuses some layouts it cannot draw (unusual bit-field masks). The pixels
  // are converted by the library's own code, so keep them in plain memory, without
  // a handle, rather than lose the picture.
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(info);
  if (header->biBitCount == 32 && header->biCompression == BI_RGB) return false;
  return allocatePlain(pixelBytes, zeroed);
}

void DibSection::destroy() {
  if (ownsMemory_) std::free(bits_);
  if (handle_) DeleteObject(static_cast<HBITMAP>(handle_));
  bits_ = nullptr;
  handle_ = nullptr;
  ownsMemory_ = false;
}

void DibSection::setColorTable(const uint32_t* entries, int count) {
  if (!handle_ || count <= 0) return;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return;
  HGDIOBJ old = SelectObject(dc, static_cast<HBITMAP>(handle_));
  SetDIBColorTable(dc, 0, static_cast<UINT>(count), reinterpret_cast<const RGBQUAD*>(entries));
  SelectObject(dc, old);
  DeleteDC(dc);
}

}  // namespace s::image::bmp::win
