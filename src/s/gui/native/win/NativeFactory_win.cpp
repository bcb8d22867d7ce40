#include <windows.h>

#include <mutex>

#include "s/gui/Component.h"
#include "s/gui/native/win/BoxWindow.h"
#include "s/gui/native/win/ButtonWindow.h"
#include "s/gui/native/win/ComboBoxWindow.h"
#include "s/gui/native/win/LabelWindow.h"
#include "s/gui/native/win/ProgressBarWindow.h"
#include "s/gui/native/win/TextFieldWindow.h"
#include "s/gui/native/win/NativeFactory.h"
#include "s/gui/win/MessageBoxW.h"

namespace s::gui::native::win {

namespace {

// The toolkit's window procedure. A window's object is bound once CreateWindowExW has
// returned (so a window the platform gives up on while creating it never owns it); the
// messages of the creation itself get the default processing.
LRESULT CALLBACK toolkitWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (HwndWindow* window = HwndWindow::fromHandle(hwnd)) return window->dispatch(message, wParam, lParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

template <class Window>
NativeWindow* created(Window* window, bool ok) {
  if (ok) return window;
  delete window;
  gui::win::MessageBoxW::showWarning(u"Error!", u"Window Creation Failed!");
  return nullptr;
}

}  // namespace

bool registerWindowClass() {
  static bool registered = false;
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
    windowClass.lpfnWndProc = toolkitWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"KorvelWindowClass";
    registered = RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!registered) gui::win::MessageBoxW::showWarning(u"Error!", u"Window Registration Failed!");
  });
  return registered;
}

NativeWindow* createNativeWindow(Component& component, void* parentHwnd) {
  switch (component.getNativeKind()) {
    case Component::NativeKind::kLabel: {
      auto* window = new LabelWindow(component);
      return created(window, window->create(parentHwnd));
    }
    case Component::NativeKind::kButton:
    case Component::NativeKind::kCheckBox: {
      auto* window = new ButtonWindow(component);
      return created(window, window->create(parentHwnd));
    }
    case Component::NativeKind::kComboBox: {
      auto* window = new ComboBoxWindow(component);
      return created(window, window->create(parentHwnd));
    }
    case Component::NativeKind::kTextField: {
      auto* window = new TextFieldWindow(component);
      return created(window, window->create(parentHwnd));
    }
    case Component::NativeKind::kProgressBar: {
      auto* window = new ProgressBarWindow(component);
      return created(window, window->create(parentHwnd));
    }
    case Component::NativeKind::kBox:
    default: {
      auto* window = new BoxWindow(component);
      return created(window, window->create(parentHwnd));
    }
  }
}

}  // namespace s::gui::native::win
