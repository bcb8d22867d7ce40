// The window without a window system: its native window is a MemoryWindow, its
// message queue a SyncRelay that its thread pumps, and the platform's window state
// (shown, minimised, maximised, topmost, the notification-area icon, the rectangle)
// is kept here as the platform would keep it, on a 1024 × 768 screen whose work area
// leaves 40 pixels for a taskbar at the bottom.
#include <atomic>

#include "s/gui/native/MemoryWindow.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/Window.h"
#include "s/gui/win/WindowMessages.h"

namespace s::gui::win {

namespace {

constexpr Rect kScreen{0, 0, 1024, 768};
constexpr Rect kWorkArea{0, 0, 1024, 728};
// The platform's size kinds (restored, minimised, maximised).
constexpr int kRestored = 0, kMinimized = 1, kMaximized = 2;

}  // namespace

struct Window::Platform {
  thread::SyncRelay messages;  // the window's message queue
  std::atomic<bool> quit{false};
  bool visible = false;
  bool minimized = false;
  bool maximized = false;
  bool maximizedBeforeMinimized = false;
  bool topmost = false;
  bool trayIcon = false;
  Rect rect{kWorkArea.x, kWorkArea.y, 240, 120};
  Rect restoredRect = rect;
};

Window::Window() : platform_(std::make_unique<Platform>()) {
  thread_.start([this] { threadMain(); });
}

Window::~Window() = default;

void Window::threadMain() {
  Platform& platform = *platform_;
  platform.messages.bindReceiver([this](const thread::RelayRecord& record) -> uintptr_t {
    intptr_t result = 0;
    handleToolkitMessage(static_cast<unsigned>(record.values[0]), record.values[1],
                         static_cast<intptr_t>(record.values[2]), result);
    return static_cast<uintptr_t>(result);
  });
  jobEvents_.bindReceiver([this](const thread::RelayRecord& record) { return relayRecord(record); },
                          [&platform] { platform.messages.wake(); });
  attachRootWindow(new native::MemoryWindow(*this, nullptr));
  nativeWindowResized(platform.rect.width, platform.rect.height);
  if (thread_.markRunning()) {
    while (!platform.quit.load() && !platform.messages.isClosed()) {
      platform.messages.waitAndPump(-1);
      jobEvents_.pump();
    }
  }
  if (getNativeWindow()) nativeDestroy();
  platform.messages.close();
  jobEvents_.close();
}

void Window::postQuit() {
  platform_->quit = true;
  platform_->messages.wake();
}

bool Window::hasPlatformWindow() const { return thread_.isRunning() && !platform_->messages.isClosed(); }

intptr_t Window::sendMessage(unsigned message, uintptr_t first, intptr_t second) {
  if (!thread_.isRunning() && !isWindowThread()) return 0;
  thread::RelayRecord record;
  record.values[0] = message;
  record.values[1] = first;
  record.values[2] = static_cast<uintptr_t>(second);
  uintptr_t reply = 0;
  return platform_->messages.send(record, &reply) ? static_cast<intptr_t>(reply) : 0;
}

void Window::nativeForgetFrame() {}

void Window::setIcon(void* icon) { icon_ = icon; }

void Window::nativeDestroy() {
  destroyNativeWindow();
  frameDestroyed();
  // Nothing is left to answer: later messages fail at once and the loop ends.
  platform_->messages.close();
}

// The client area is the whole window here.
Rect Window::getPlacement() const { return {platform_->rect.x, platform_->rect.y, getWidth(), getHeight()}; }

bool Window::isIconic() const { return platform_->minimized; }

bool Window::isMaximized() const { return platform_->maximized; }

void Window::nativeShow(ShowCommand command) {
  Platform& platform = *platform_;
  const bool wasVisible = platform.visible;
  platform.visible = command != kShowHide;
  if (auto* memory = static_cast<native::MemoryWindow*>(getNativeWindow())) memory->setShown(platform.visible);
  switch (command) {
    case kShowMinimized:
      if (platform.minimized && wasVisible) return;
      platform.maximizedBeforeMinimized = platform.maximized;
      platform.minimized = true;
      platform.maximized = false;
      sizeChanged(kMinimized, 0, 0);
      return;
    case kShowMaximized:
      if (platform.maximized) return;
      if (!platform.minimized) platform.restoredRect = platform.rect;
      platform.minimized = false;
      platform.maximized = true;
      platform.rect = kWorkArea;
      sizeChanged(kMaximized, platform.rect.width, platform.rect.height);
      return;
    case kShowRestore:
      if (platform.minimized) {
        platform.minimized = false;
        platform.maximized = platform.maximizedBeforeMinimized;
      } else if (platform.maximized) {
        platform.maximized = false;
        platform.rect = platform.restoredRect;
      } else {
        return;
      }
      sizeChanged(platform.maximized ? kMaximized : kRestored, platform.rect.width, platform.rect.height);
      return;
    case kShowHide:
    case kShowNormal:
    case kShowNoActivate:
      return;
  }
}

void Window::nativeActivate(bool active) {
  if (active != active_) activated(active);
}

bool Window::nativeTrayIcon(bool add) {
  platform_->trayIcon = add;
  return true;
}

void Window::nativeTopmost(bool topmost) { platform_->topmost = topmost; }

void Window::nativeApplyStyles() {}

void Window::nativeApplyRegion() {}

void Window::nativeOpenMenu(MenuEx*, bool) {}

void Window::nativeSetTitle() {}

void Window::nativeSetRect(const Rect& placement) {
  const bool moved = placement.x != platform_->rect.x || placement.y != platform_->rect.y;
  platform_->rect = placement;
  nativeWindowResized(placement.width, placement.height);
  positionChanged(moved, placement);
}

Rect Window::getWorkArea() const { return kWorkArea; }

Rect Window::getVirtualScreen() const { return kScreen; }

void Window::nativeShowBox(int kind, std::u16string_view text, bool* answer) {
  if (kind == kQuestionMessage) {
    *answer = MessageBoxW::askYesNo(getTitle(), text);
  } else {
    MessageBoxW::show(kind == kErrorMessage ? MessageBoxW::kError : MessageBoxW::kInformation, getTitle(), text);
  }
}

// No timers, hot keys, clipboard or working set here.
void Window::nativeTimer(int, int, bool) {}

void Window::nativeHotKeys(unsigned, uintptr_t, intptr_t& result) { result = 0; }

void Window::nativeClipboard(bool) {}

void Window::nativeTrimWorkingSet() {}

}  // namespace s::gui::win
