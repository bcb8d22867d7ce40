// Exchanging rasters with GDI bitmaps and icons.
#include <windows.h>

#include <cstring>

#include "s/base/win/Scoped_win.h"
#include "s/image/bmp/PixelConverter.h"
#include "s/image/bmp/win/Bitmap.h"

namespace s::image::bmp::win {

namespace {

// The information header and colour table of a raster, as GDI calls take them.
struct BitmapInfo256 {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

void describe(const InfoHeader& info, const uint32_t* colorTable, int paletteCount, BitmapInfo256* out) {
  std::memset(out, 0, sizeof(*out));
  out->header.biSize = sizeof(BITMAPINFOHEADER);
  out->header.biWidth = info.width;
  out->header.biHeight = info.height;
  out->header.biPlanes = 1;
  out->header.biBitCount = info.bitCount;
  out->header.biCompression = info.compression;
  out->header.biClrUsed = info.colorsUsed;
  std::memcpy(out->colors, colorTable, static_cast<size_t>(paletteCount) * 4);
}

// Draws the icon into the raster's section through a screen-compatible memory DC.
void drawIcon(HBITMAP section, HICON icon, int width, int height) {
  const base::win::OwnedDc dc(CreateCompatibleDC(nullptr));
  const base::win::SelectedObject selected(dc.get(), section);
  DrawIconEx(dc.get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
  GdiFlush();  // GDI may batch drawing; the pixels are read next
}

}  // namespace

bool Bitmap::copyFromHandle(BitmapHandle handle) {
  BITMAP description = {};
  if (!handle || !GetObjectW(static_cast<HBITMAP>(handle), sizeof(description), &description)) return false;
  int bitCount = description.bmBitsPixel * description.bmPlanes;
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24) bitCount = 32;
  if (!create(description.bmWidth, description.bmHeight, bitCount)) return false;
  // GetDIBits converts any bitmap (section or device bitmap) into our layout and
  // fills the colour table for the palette depths.
  BitmapInfo256 info;
  describe(info_, colorTable_, paletteCount_, &info);
  const int rows = GetDIBits(base::win::WindowDc().get(), static_cast<HBITMAP>(handle), 0,
                             static_cast<UINT>(info_.height), bits_, reinterpret_cast<BITMAPINFO*>(&info),
                             DIB_RGB_COLORS);
  if (paletteCount_ != 0 && info_.bitCount <= 8) {
    std::memcpy(colorTable_, info.colors, static_cast<size_t>(paletteCount_) * 4);
    syncColorTable();
  }
  return rows == info_.height;
}

bool Bitmap::drawToHandle(BitmapHandle handle) const {
  if (!handle || !bits_) return false;
  DIBSECTION section = {};
  if (GetObjectW(static_cast<HBITMAP>(handle), sizeof(section), &section) == sizeof(section) &&
      section.dsBm.bmBits && section.dsBm.bmBitsPixel == 32 && section.dsBm.bmWidth == info_.width &&
      section.dsBm.bmHeight == info_.height) {
    // A 32-bit section: convert with the library's own code, identical on every
    // system. The fourth byte of every pixel is 0.
    auto* target = static_cast<uint8_t*>(section.dsBm.bmBits);
    const bool bottomUp = section.dsBmih.biHeight > 0;
    for (int y = 0; y < info_.height; ++y) {
      const int targetRow = bottomUp ? info_.height - 1 - y : y;
      convertRow(y, target + static_cast<ptrdiff_t>(targetRow) * section.dsBm.bmWidthBytes);
    }
    return true;
  }
  BitmapInfo256 info;
  describe(info_, colorTable_, paletteCount_, &info);
  const int rows = SetDIBits(base::win::WindowDc().get(), static_cast<HBITMAP>(handle), 0,
                             static_cast<UINT>(info_.height), bits_, reinterpret_cast<BITMAPINFO*>(&info),
                             DIB_RGB_COLORS);
  return rows == info_.height;
}

bool Bitmap::createFromIcon(IconHandle icon) {
  ICONINFO parts = {};
  if (!icon || !GetIconInfo(static_cast<HICON>(icon), &parts)) return false;
  int width = 0;
  int height = 0;
  {
    // GetIconInfo hands over copies of the icon's bitmaps.
    const base::win::GdiObject<HBITMAP> colour(parts.hbmColor);
    const base::win::GdiObject<HBITMAP> mask(parts.hbmMask);
    BITMAP description = {};
    if (colour && GetObjectW(colour.get(), sizeof(description), &description)) {
      width = description.bmWidth;
      height = description.bmHeight;
    } else if (mask && GetObjectW(mask.get(), sizeof(description), &description)) {
      // A monochrome icon's mask holds the AND and the XOR halves one above the other.
      width = description.bmWidth;
      height = description.bmHeight / 2;
    }
  }
  if (width <= 0) width = 16;
  if (height <= 0) height = 16;

  // The icon is drawn by GDI, so into a bitmap section.
  if (!create(width, height, 32) || !getHandle()) return false;
  // White at alpha 0, then the icon in its normal mode.
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(getRow(y));
    for (int x = 0; x < width; ++x) row[x] = 0x00FFFFFF;
  }
  drawIcon(static_cast<HBITMAP>(getHandle()), static_cast<HICON>(icon), width, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = getRow(y);
    for (int x = 0; x < width; ++x)
      if (row[4 * x + 3] != 0) return true;  // the icon carries its own alpha
  }
  // No alpha: draw on a key colour that marks the untouched pixels transparent.
  if (!create(width, height, 24) || !getHandle()) return false;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = getRow(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = 252;
      row[3 * x + 1] = 253;
      row[3 * x + 2] = 254;
    }
  }
  setTransparentColor(254, 253, 252);
  drawIcon(static_cast<HBITMAP>(getHandle()), static_cast<HICON>(icon), width, height);
  return true;
}

}  // namespace s::image::bmp::win
