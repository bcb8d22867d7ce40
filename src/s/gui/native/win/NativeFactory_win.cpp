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

// A window of type Window for component under parentHwnd; when the platform refuses
// it, the user is told and the result is nullptr.
template <class Window>
NativeWindow* make(Component& component, void* parentHwnd) {
  auto* window = new Window(component);
  if (window->create(parentHwnd)) return window;
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
    case Component::NativeKind::kLabel: return make<LabelWindow>(component, parentHwnd);
    case Component::NativeKind::kButton:
    case Component::NativeKind::kCheckBox: return make<ButtonWindow>(component, parentHwnd);
    case Component::NativeKind::kComboBox: return make<ComboBoxWindow>(component, parentHwnd);
    case Component::NativeKind::kTextField: return make<TextFieldWindow>(component, parentHwnd);
    case Component::NativeKind::kProgressBar: return make<ProgressBarWindow>(component, parentHwnd);
    case Component::NativeKind::kBox: break;
  }
  return make<BoxWindow>(component, parentHwnd);
}

}  // namespace s::gui::native::win
