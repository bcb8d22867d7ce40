// Drawing and printing the pixel image through GDI.
#include <windows.h>
#include <commdlg.h>

#include "s/base/win/Scoped_win.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/filters/sharpness/Sharpness.h"
#include "s/thread/Owned.h"

namespace s::image::win {

namespace {

constexpr wchar_t kDocumentTitle[] = L"Pictorva";
constexpr wchar_t kNoPrinter[] = L"Unable to find a printer. Please check installed/default printers.";
constexpr wchar_t kPrintFailed[] = L"Printing error occured. Unable to find printer.";

}  // namespace

void BufferedImage::drawTo(DeviceContextHandle dc, int x, int y, int width, int height, bool stretch) {
  BufferedImage* used = stretch ? scaledCopy(width, height, false) : this;
  if (!dc || !used->getBitmapHandle()) return;
  if (width > used->width_) width = used->width_;
  if (height > used->height_) height = used->height_;
  // The screen's context is released at the end of the statement, as soon as the
  // memory context is made.
  const base::win::OwnedDc memory(CreateCompatibleDC(base::win::WindowDc().get()));
  if (!memory) return;
  const base::win::SelectedObject selected(memory.get(), static_cast<HBITMAP>(used->getBitmapHandle()));
  // The picture is the top rows of the raster: in device coordinates (top-down)
  // it starts at row 0 of the selected bitmap.
  BitBlt(static_cast<HDC>(dc), x, y, width, height, memory.get(), 0, 0, SRCCOPY);
}

void BufferedImage::print(bool rotate, bool sharpen, bool fit) {
  if (hasFilters()) {
    if (BufferedImage* filtered = getFiltered()) filtered->print(rotate, sharpen, fit);
    return;
  }
  if (width_ <= 0 || height_ <= 0) return;
  PRINTDLGW setup = {};
  setup.lStructSize = sizeof(setup);
  setup.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgW(&setup)) {
    MessageBoxW(nullptr, kNoPrinter, kDocumentTitle, MB_OK | MB_ICONWARNING);
    return;
  }
  setup.Flags = PD_RETURNDC | PD_PAGENUMS | PD_NOSELECTION;
  setup.nFromPage = setup.nToPage = setup.nMinPage = setup.nMaxPage = 1;
  const bool confirmed = PrintDlgW(&setup) && setup.hDC;
  // The dialog's settings are not used: freed on return.
  const base::win::GlobalMemory devMode(setup.hDevMode);
  const base::win::GlobalMemory devNames(setup.hDevNames);
  if (!confirmed) return;
  const base::win::OwnedDc printerDc(setup.hDC);
  const HDC printer = printerDc.get();

  const int printerDpiX = GetDeviceCaps(printer, LOGPIXELSX);
  const int printerDpiY = GetDeviceCaps(printer, LOGPIXELSY);
  int screenDpiX = 0;
  int screenDpiY = 0;
  {
    const base::win::WindowDc screen;
    screenDpiX = GetDeviceCaps(screen.get(), LOGPIXELSX);
    screenDpiY = GetDeviceCaps(screen.get(), LOGPIXELSY);
  }
  // The page less a 7 mm margin, in printer pixels, then in screen pixels.
  const int pageWidth = static_cast<int>(GetDeviceCaps(printer, HORZSIZE) * printerDpiX / 25.4) -
                        static_cast<int>(7 * printerDpiX / 25.4);
  const int pageHeight = static_cast<int>(GetDeviceCaps(printer, VERTSIZE) * printerDpiY / 25.4);
  const int areaWidth = printerDpiX > 0 ? static_cast<int>(static_cast<int64_t>(pageWidth) * screenDpiX / printerDpiX) : 0;
  const int areaHeight =
      printerDpiY > 0 ? static_cast<int>(static_cast<int64_t>(pageHeight) * screenDpiY / printerDpiY) : 0;

  DOCINFOW document = {};
  document.cbSize = sizeof(document);
  document.lpszDocName = kDocumentTitle;
  if (StartDocW(printer, &document) <= 0 || areaWidth <= 0 || areaHeight <= 0) {
    MessageBoxW(nullptr, kPrintFailed, kDocumentTitle, MB_OK | MB_ICONWARNING);
    return;
  }
  StartPage(printer);
  PatBlt(printer, 0, 0, GetDeviceCaps(printer, HORZRES), GetDeviceCaps(printer, VERTRES), WHITENESS);

  thread::Owned<BufferedImage> rotated;
  BufferedImage* source = this;
  if (rotate && width_ > height_) {
    rotated.reset(rotateRight(nullptr));
    source = rotated.get();
  }
  thread::Owned<BufferedImage> picture;
  if (fit || source->width_ > areaWidth || source->height_ > areaHeight) {
    picture.reset(source->scaledCopy(areaWidth, areaHeight, true)->copyTo(nullptr));
  } else {
    picture.reset(source->copyTo(nullptr));
  }
  if (sharpen) {
    thread::Owned<filters::sharpness::Sharpness> sharpening(filters::sharpness::Sharpness::newSharpness(80));
    sharpening->apply(picture.get(), picture.get());
  }
  flattenOnWhite(picture.get());

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = picture->capacityWidth_;
  info.bmiHeader.biHeight = picture->capacityHeight_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int printedWidth = static_cast<int>(static_cast<int64_t>(picture->width_) * printerDpiX / screenDpiX);
  const int printedHeight = static_cast<int>(static_cast<int64_t>(picture->height_) * printerDpiY / screenDpiY);
  // The logical picture is the top-left part of the bottom-up raster.
  StretchDIBits(printer, 0, 0, printedWidth, printedHeight, 0, picture->capacityHeight_ - picture->height_,
                picture->width_, picture->height_, picture->bits_, &info, DIB_RGB_COLORS, SRCCOPY);
  EndPage(printer);
  EndDoc(printer);
}

}  // namespace s::image::win
