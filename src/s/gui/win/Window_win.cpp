#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>

#include <atomic>
#include <iterator>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "s/file/WideText.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/window/win/Thin.h"
#include "s/gui/native/win/FrameWindow.h"
#include "s/gui/win/InvisibleWindow.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/Window.h"
#include "s/gui/win/WindowMessages.h"
#include "s/str/Decimal.h"

namespace s::gui::win {

namespace {

constexpr UINT kTrayIconId = 1;
constexpr UINT_PTR kFirstUserTimer = 10000;
// The styles a frame's settings change.
constexpr DWORD kFrameStyles = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_APPWINDOW;

// Trimming the working set is serialised across the process's windows.
std::mutex workingSetLock;

Rect rectOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

struct Window::Platform {
  InvisibleWindow owner;
  native::win::FrameWindow* frame = nullptr;  // belongs to its HWND
  // The frame's HWND while it exists: what other threads send to.
  std::atomic<HWND> hwnd{nullptr};
  DWORD threadId = 0;
  // Registered hot keys: name and global atom.
  std::vector<std::pair<std::u16string, ATOM>> hotKeys;
};

Window::Window() : platform_(std::make_unique<Platform>()) {
  thread_.start([this] { threadMain(); });
}

Window::~Window() = default;

void Window::threadMain() {
  Platform& platform = *platform_;
  platform.threadId = GetCurrentThreadId();
  // The thread's message queue exists before anyone posts to it.
  MSG message;
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  INITCOMMONCONTROLSEX controls{8, 0xFF};
  InitCommonControlsEx(&controls);
  const HRESULT ole = OleInitialize(nullptr);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_NONE, nullptr);

  auto* frame = new native::win::FrameWindow(*this);
  const DWORD exStyle = WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
  if (platform.owner.create() && frame->create(platform.owner.getHandle(), exStyle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN)) {
    platform.frame = frame;
    platform.hwnd = static_cast<HWND>(frame->getHandle());
    attachRootWindow(frame);
    const Size client = frame->getClientSize();
    nativeWindowResized(client.width, client.height);
    RECT r{};
    GetWindowRect(platform.hwnd, &r);
    normal_ = rectOf(r);
  } else {
    delete frame;
    MessageBoxW::showWarning(u"Error!", u"Window Creation Failed!");
  }
  jobEvents_.bindReceiver([this](const thread::RelayRecord& record) { return relayRecord(record); },
                          [&platform] {
                            if (HWND hwnd = platform.hwnd.load()) PostMessageW(hwnd, kPumpJobEventsMessage, 0, 0);
                          });
  // Without a window nobody would pump the relay: senders fail at once instead.
  if (!platform.hwnd.load()) jobEvents_.close();

  if (thread_.markRunning()) {
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  platform.hwnd = nullptr;
  jobEvents_.close();
  intptr_t ignored = 0;
  nativeHotKeys(kUnregisterHotKeysMessage, 0, ignored);
  if (getNativeWindow()) nativeDestroy();
  platform.owner.destroy();
  if (SUCCEEDED(ole)) OleUninitialize();
}

void Window::postQuit() { PostThreadMessageW(platform_->threadId, WM_QUIT, 0, 0); }

bool Window::hasPlatformWindow() const { return platform_->hwnd.load() != nullptr; }

intptr_t Window::sendMessage(unsigned message, uintptr_t first, intptr_t second) {
  const HWND hwnd = platform_->hwnd.load();
  // A window that is gone answers at once (as the platform does for a destroyed one).
  if (!hwnd) return 0;
  return SendMessageW(hwnd, message, first, second);
}

void Window::nativeDestroy() {
  if (native::NativeWindow* native = getNativeWindow()) DestroyWindow(static_cast<HWND>(native->getHandle()));
}

void Window::nativeForgetFrame() {
  platform_->hwnd = nullptr;
  platform_->frame = nullptr;
}

Rect Window::getPlacement() const {
  RECT r{};
  if (HWND hwnd = platform_->hwnd.load()) GetWindowRect(hwnd, &r);
  return rectOf(r);
}

bool Window::isIconic() const {
  const HWND hwnd = platform_->hwnd.load();
  return hwnd && IsIconic(hwnd);
}

bool Window::isMaximized() const {
  const HWND hwnd = platform_->hwnd.load();
  return hwnd && IsZoomed(hwnd);
}

void Window::nativeShow(ShowCommand command) {
  static constexpr int kCommands[] = {SW_HIDE, SW_SHOW, SW_SHOWNA, SW_MINIMIZE, SW_RESTORE, SW_MAXIMIZE};
  if (HWND hwnd = platform_->hwnd.load()) ShowWindow(hwnd, kCommands[command]);
}

void Window::nativeActivate(bool active) {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd || !active) return;
  // Topmost for a moment: the window comes above every other, then takes its place
  // among the normal ones again.
  if (!keepOnTop_) {
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  SetForegroundWindow(hwnd);
  SetActiveWindow(hwnd);
}

bool Window::nativeTrayIcon(bool add) {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd) return false;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  if (!add) return Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayIconMessage;
  data.hIcon = icon_ ? static_cast<HICON>(icon_) : LoadIconW(nullptr, IDI_APPLICATION);
  const std::u16string tip(getTitle().substr(0, std::size(data.szTip) - 1));
  lstrcpynW(data.szTip, file::wide(tip), static_cast<int>(std::size(data.szTip)));
  return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void Window::nativeTopmost(bool topmost) {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd) return;
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (shown_ ? SWP_SHOWWINDOW : 0);
  SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  if (topmost || !(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) return;
  // Some window systems (Wine's) keep an owned window topmost: it lets go without
  // its owner for the moment.
  const LONG_PTR owner = GetWindowLongPtrW(hwnd, GWLP_HWNDPARENT);
  SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, 0);
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, owner);
}

void Window::nativeApplyStyles() {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd) return;
  DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)) & ~kFrameStyles;
  DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE)) & ~kFrameExStyles;
  style |= WS_SYSMENU | (skinnedFrame_ ? WS_POPUP : WS_CAPTION);
  if (resizable_ && !skinnedFrame_) style |= WS_THICKFRAME;
  if (minimizeBox_) style |= WS_MINIMIZEBOX;
  if (maximizeBox_) style |= WS_MAXIMIZEBOX;
  if (clientEdge_ && !skinnedFrame_) exStyle |= WS_EX_CLIENTEDGE;
  if (taskbarButton_) exStyle |= WS_EX_APPWINDOW;
  SetWindowLongPtrW(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  nativeApplyRegion();
}

void Window::nativeApplyRegion() {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd) return;
  HRGN region = nullptr;
  const auto* thin = dynamic_cast<const drawer::window::win::Thin*>(getSkin().getWindowDrawer());
  if (skinnedFrame_ && thin) {
    const Rect placement = getPlacement();
    region = static_cast<HRGN>(thin->createRegion(placement.width, placement.height));
  }
  // The window takes the region over.
  SetWindowRgn(hwnd, region, TRUE);
}

void Window::nativeOpenMenu(MenuEx* menu, bool foreground) {
  const HWND hwnd = platform_->hwnd.load();
  HMENU native = hwnd && menu ? static_cast<HMENU>(menu->getNativeMenu(false)) : nullptr;
  if (!native) return;
  menu->applySkin(getSkin());
  POINT cursor{};
  GetCursorPos(&cursor);
  if (foreground) SetForegroundWindow(hwnd);
  const int command = TrackPopupMenu(native, TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, hwnd, nullptr);
  // A menu opened for a notification-area icon closes properly only when its window
  // gets a message after it.
  if (foreground) PostMessageW(hwnd, WM_NULL, 0, 0);
  if (command != 0) menu->nativeCommand(command);
}

void Window::nativeSetTitle() {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd) return;
  SetWindowTextW(hwnd, file::wide(getTitle()));
  if (!trayIconShown_) return;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_TIP;
  const std::u16string tip(getTitle().substr(0, std::size(data.szTip) - 1));
  lstrcpynW(data.szTip, file::wide(tip), static_cast<int>(std::size(data.szTip)));
  Shell_NotifyIconW(NIM_MODIFY, &data);
}

void Window::setIcon(void* icon) {
  if (relayed([=, this] { setIcon(icon); })) return;
  if (icon_ && icon_ != icon) DestroyIcon(static_cast<HICON>(icon_));
  icon_ = icon;
  if (HWND hwnd = platform_->hwnd.load()) SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  platform_->owner.setIcon(icon);
}

void Window::nativeSetRect(const Rect& placement) {
  if (HWND hwnd = platform_->hwnd.load()) {
    SetWindowPos(hwnd, nullptr, placement.x, placement.y, placement.width, placement.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

Rect Window::getWorkArea() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return rectOf(r);
}

Rect Window::getVirtualScreen() const {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void Window::nativeShowBox(int kind, std::u16string_view text, bool* answer) {
  void* owner = platform_->hwnd.load();
  if (kind == kQuestionMessage) {
    *answer = MessageBoxW::askYesNo(getTitle(), text, owner);
  } else {
    MessageBoxW::show(kind == kErrorMessage ? MessageBoxW::kError : MessageBoxW::kInformation, getTitle(), text, owner);
  }
}

void Window::nativeTimer(int number, int periodMs, bool start) {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd || number < 0) return;
  const UINT_PTR id = kFirstUserTimer + static_cast<UINT_PTR>(number);
  if (start) {
    SetTimer(hwnd, id, static_cast<UINT>(periodMs), nullptr);
  } else {
    KillTimer(hwnd, id);
  }
}

void Window::nativeHotKeys(unsigned message, uintptr_t first, intptr_t& result) {
  const HWND hwnd = platform_->hwnd.load();
  auto& hotKeys = platform_->hotKeys;
  result = 0;
  if (message == kRegisterHotKeyMessage) {
    const auto* request = reinterpret_cast<const HotKeyRequest*>(first);
    const std::u16string name(request->name ? request->name : u"");
    const ATOM atom = GlobalAddAtomW(file::wide(name));
    if (hwnd && atom && RegisterHotKey(hwnd, atom, request->modifiers, request->key)) {
      hotKeys.emplace_back(name, atom);
      result = 1;
      return;
    }
    const DWORD error = GetLastError();
    if (atom) GlobalDeleteAtom(atom);
    if (request->report) {
      std::u16string text = u"(";
      text += str::decimal(error);
      text += u") ";
      text += request->message ? request->message : u"";
      MessageBoxW::show(MessageBoxW::kInformation, getTitle(), text, hwnd);
    }
    return;
  }
  const std::u16string name(message == kUnregisterHotKeyMessage && first ? reinterpret_cast<const char16_t*>(first) : u"");
  for (size_t i = hotKeys.size(); i-- > 0;) {
    if (message == kUnregisterHotKeyMessage && hotKeys[i].first != name) continue;
    if (hwnd) UnregisterHotKey(hwnd, hotKeys[i].second);
    GlobalDeleteAtom(hotKeys[i].second);
    hotKeys.erase(hotKeys.begin() + static_cast<std::ptrdiff_t>(i));
    result = 1;
  }
}

void Window::nativeClipboard(bool listen) {
  const HWND hwnd = platform_->hwnd.load();
  if (!hwnd) return;
  if (listen) {
    AddClipboardFormatListener(hwnd);
  } else {
    RemoveClipboardFormatListener(hwnd);
  }
}

void Window::nativeTrimWorkingSet() {
  std::lock_guard<std::mutex> lock(workingSetLock);
  SetProcessWorkingSetSize(GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

}  // namespace s::gui::win
