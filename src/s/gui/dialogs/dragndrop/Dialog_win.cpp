// Files handed over by another start of the program arrive at the dialog's window as
// WM_COPYDATA: the window's procedure is wrapped while the dialog runs.
#include <windows.h>

#include "s/archive/ProgramResourceIds.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/native/NativeWindow.h"
#include "s/gui/win/Window.h"

namespace s::gui::dialogs::dragndrop {

namespace {

constexpr wchar_t kDialogProperty[] = L"PictorvaDialog";

// The paths of a copy-data block: UTF-16 texts, each ended by a zero.
std::vector<std::u16string> pathsOf(const COPYDATASTRUCT& data) {
  std::vector<std::u16string> paths;
  const auto* text = static_cast<const char16_t*>(data.lpData);
  const size_t units = data.cbData / sizeof(char16_t);
  size_t start = 0;
  for (size_t i = 0; i < units; ++i) {
    if (text[i] != 0) continue;
    if (i > start) paths.emplace_back(text + start, i - start);
    start = i + 1;
  }
  return paths;
}

LRESULT CALLBACK receiveFiles(HWND hwnd, UINT message, WPARAM first, LPARAM second) {
  auto* dialog = static_cast<Dialog*>(GetPropW(hwnd, kDialogProperty));
  auto* previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, L"PictorvaDialogProcedure"));
  if (message == WM_COPYDATA && dialog) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(second);
    if (data && data->dwData == Dialog::kCopyDataFiles && data->lpData) {
      dialog->takeDrop(pathsOf(*data));
      return TRUE;
    }
  }
  return CallWindowProcW(previous, hwnd, message, first, second);
}

HWND handleOf(win::Window* window) {
  native::NativeWindow* native = window ? window->getNativeWindow() : nullptr;
  return native ? static_cast<HWND>(native->getHandle()) : nullptr;
}

}  // namespace

void* Dialog::loadProgramIcon() {
  return LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(archive::program::kIconGroup), IMAGE_ICON,
                    GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0);
}

void Dialog::installCopyDataReceiver() {
  window_->invoke([this] {
    HWND hwnd = handleOf(window_.get());
    if (!hwnd) return;
    // Other programs may send WM_COPYDATA to a window of higher integrity only when
    // it lets them.
    ChangeWindowMessageFilterEx(hwnd, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    SetPropW(hwnd, kDialogProperty, this);
    previousProcedure_ = reinterpret_cast<void*>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    SetPropW(hwnd, L"PictorvaDialogProcedure", previousProcedure_);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(receiveFiles));
  });
}

void Dialog::removeCopyDataReceiver() {
  if (!previousProcedure_) return;
  window_->invoke([this] {
    HWND hwnd = handleOf(window_.get());
    if (!hwnd) return;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProcedure_));
    RemovePropW(hwnd, kDialogProperty);
    RemovePropW(hwnd, L"PictorvaDialogProcedure");
  });
  previousProcedure_ = nullptr;
}

bool Dialog::sendFiles(void* otherWindow, const std::vector<std::u16string>& paths) {
  std::u16string block;
  for (const std::u16string& path : paths) {
    block += path;
    block += u'\0';
  }
  COPYDATASTRUCT data{};
  data.dwData = kCopyDataFiles;
  data.cbData = static_cast<DWORD>(block.size() * sizeof(char16_t));
  data.lpData = block.data();
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(static_cast<HWND>(otherWindow), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                             SMTO_ABORTIFHUNG, 10000, &result) != 0 &&
         result == TRUE;
}

}  // namespace s::gui::dialogs::dragndrop
