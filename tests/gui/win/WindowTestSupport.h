#pragma once
// What the windowed tests share: a host window that stays for the test, rectangles of
// real windows, and a capture of a window's client area.
#include <windows.h>

#include <vector>

#include "s/gui/Geometry.h"
#include "s/gui/IComponent.h"
#include "s/gui/native/NativeWindow.h"
#include "s/gui/win/HostWindow.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/thread/Owned.h"

namespace s::gui::testing {

inline HWND hwndOf(const IComponent& component) {
  return component.getNativeWindow() ? static_cast<HWND>(component.getNativeWindow()->getHandle()) : nullptr;
}

// The window's rectangle in the client coordinates of relativeTo.
inline Rect windowRect(HWND hwnd, HWND relativeTo) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, relativeTo, reinterpret_cast<POINT*>(&r), 2);
  return {static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
          static_cast<int>(r.bottom - r.top)};
}

// Lets pending messages (painting, posted notifications) run.
inline void pumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A message box would block the test run: boxes are counted instead.
struct QuietMessageBoxes {
  static inline int shown = 0;
  QuietMessageBoxes() {
    previous = win::MessageBoxW::setHandler([](win::MessageBoxW::Kind, std::u16string_view, std::u16string_view) {
      ++shown;
    });
  }
  ~QuietMessageBoxes() { win::MessageBoxW::setHandler(previous); }
  win::MessageBoxW::Handler previous;
};

// The client area of hwnd as painted now, 0x00BBGGRR per pixel, top row first.
class Capture {
 public:
  explicit Capture(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    width_ = client.right;
    height_ = client.bottom;
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    HDC source = GetDC(hwnd);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* bgra = static_cast<const uint8_t*>(bits);
    for (size_t i = 0; i < pixels_.size(); ++i) {
      pixels_[i] = bgra[4 * i + 2] | (bgra[4 * i + 1] << 8) | (bgra[4 * i] << 16);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hwnd, source);
  }
  unsigned pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0xFFFFFFFFu;
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
  }
  // How many pixels of colour lie inside area.
  int count(const Rect& area, unsigned colour) const {
    int n = 0;
    for (int y = area.y; y < area.y + area.height; ++y)
      for (int x = area.x; x < area.x + area.width; ++x) n += pixel(x, y) == colour ? 1 : 0;
    return n;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<unsigned> pixels_;
};

}  // namespace s::gui::testing
