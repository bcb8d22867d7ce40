#include "s/gui/win/Window.h"

#include <algorithm>

#include "s/app/IAppBase.h"
#include "s/app/IAppWindow.h"
#include "s/lang/LangPack.h"
#include "s/lang/Localizer.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/WindowMessages.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Clock.h"

namespace s::gui::win {

namespace {

// A click on the notification-area icon deactivates the window first: a window
// deactivated this recently counts as active.
constexpr int64_t kRecentlyActiveMs = 150;
constexpr int kClosedPollMs = 10;

bool equalsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return str::strbuffer::StrBuffer(a).equalsIgnoreCase(b);
}

}  // namespace

Window::MiddleClick Window::middleClickOf(std::u16string_view text) {
  if (equalsIgnoringCase(text, kIconize)) return MiddleClick::kIconize;
  if (equalsIgnoringCase(text, kClose)) return MiddleClick::kClose;
  return MiddleClick::kDoNothing;
}

std::u16string_view Window::textOf(MiddleClick action) {
  switch (action) {
    case MiddleClick::kIconize: return kIconize;
    case MiddleClick::kClose: return kClose;
    case MiddleClick::kDoNothing: break;
  }
  return kDoNothing;
}

void Window::release() {
  if (!thread_.end([this] { postQuit(); })) return;  // left to its thread, which may still use it
  reset();
  PooledObject::release();
}

void Window::reset() {
  if (localizer_) localizer_->removeListener(this);
  TopLevelBase::reset();
  for (auto& list : listeners_) list.clear();
  closingSources_.clear();
  popupMenu_.reset();
  trayMenu_.reset();
  localizer_ = nullptr;
  record_ = nullptr;
  titleTextId_ = versionTextId_ = -1;
  relayed_ = {};
  relayReply_ = 0;
}

bool Window::relayed(const std::function<void()>& f) {
  if (isWindowThread() || !thread_.isRunning()) return false;
  invoke(f);
  return true;
}

bool Window::invoke(const std::function<void()>& f) {
  if (isWindowThread()) {
    f();
    return true;
  }
  return sendMessage(kInvokeMessage, reinterpret_cast<uintptr_t>(&f)) != 0;
}

void Window::addEventListener(int eventType, events::IEventListener* listener) {
  if (eventType <= 0 || eventType >= kEventCount || !listener) return;
  if (relayed([=, this] { addEventListener(eventType, listener); })) return;
  listeners_[static_cast<size_t>(eventType)].push_back(listener);
}

void Window::addClosingSource(base::IObject* source) {
  if (relayed([=, this] { addClosingSource(source); })) return;
  closingSources_.push_back(source);
}

void Window::fire(int eventType) { notify(listeners_[static_cast<size_t>(eventType)], eventType); }

void Window::keyPressed(unsigned key) {
  lastKey_ = key;
  fire(kEventKeyDown);
}

void Window::timerElapsed(int number) {
  lastTimer_ = number;
  fire(kEventTimer);
}

void Window::hotKeyPressed(int id) {
  lastHotKey_ = id;
  fire(kEventHotKey);
}

void Window::rightButtonPressed() {
  fire(kEventRightButtonDown);
  if (popupMenu_) {
    fire(kEventPopupMenu);
    nativeOpenMenu(popupMenu_.get(), false);
  }
}

bool Window::wheelTurned(int lines) {
  if (listeners_[kEventWheel].empty()) return false;
  wheelLines_ = lines;
  fire(kEventWheel);
  return true;
}

bool Window::systemCloseRequested() {
  if (!closeToTray_ || isIconizedToTray()) return false;
  iconizeToTray();
  return true;
}

void Window::onEvent(base::IObject* source, int eventType) {
  if (source && source == static_cast<base::IObject*>(localizer_) && eventType == lang::Localizer::kEventLanguageChanged) {
    languageChanged();
    return;
  }
  if (std::find(closingSources_.begin(), closingSources_.end(), source) != closingSources_.end()) close();
}

// --- Closing ---------------------------------------------------------------------------

void Window::close() { sendMessage(kCloseMessage); }

bool Window::closeRequested() {
  if (isClosed()) return false;
  keepOpen_ = false;
  fire(kEventCloseRequested);
  if (keepOpen_) return true;
  show(false, false);
  if (clipboardListener_) nativeClipboard(false);
  if (trayIconShown_) showTrayIcon(false);
  closed_ = 1;
  keepOpen_ = false;
  return true;
}

void Window::waitUntilClosed() const {
  while (!isClosed()) thread::sleepMs(kClosedPollMs);
}

void Window::frameDestroyed() {
  // Whoever waits for the window, or sends to it, is let go: it will not answer again.
  jobEvents_.close();
  if (trayIconShown_) showTrayIcon(false);
  if (clipboardListener_) setClipboardListener(false);
  nativeForgetFrame();
  shown_ = false;
  closed_ = 1;
}

// --- Relay -------------------------------------------------------------------------------

uintptr_t Window::relayRecord(const thread::RelayRecord& record) {
  relayed_ = record;
  fire(kEventRecordRelayed);
  return relayReply_;
}

uintptr_t Window::sendRecord(uintptr_t value1, uintptr_t value2, uintptr_t value3, uintptr_t value4) {
  thread::RelayRecord record;
  record.values[0] = value1;
  record.values[1] = value2;
  record.values[2] = value3;
  record.values[3] = value4;
  return static_cast<uintptr_t>(sendMessage(kRelayMessage, reinterpret_cast<uintptr_t>(&record)));
}

uintptr_t Window::getRelayValue(int index) const {
  return index >= 1 && index <= 4 ? relayed_.values[index - 1] : 0;
}

bool Window::handleToolkitMessage(unsigned message, uintptr_t first, intptr_t second, intptr_t& result) {
  result = 0;
  switch (message) {
    case kInvokeMessage:
      (*reinterpret_cast<const std::function<void()>*>(first))();
      result = 1;
      return true;
    case kPumpJobEventsMessage:
      jobEvents_.pump();
      return true;
    case kCloseMessage:
      if (!closeRequested()) nativeDestroy();
      return true;
    case kRelayMessage:
      result = static_cast<intptr_t>(relayRecord(*reinterpret_cast<const thread::RelayRecord*>(first)));
      return true;
    case kTrayIconMessage:
      trayIconClicked(static_cast<unsigned>(second));
      return true;
    case kRestoreMessage:
      restoreRequested();
      return true;
    case kInformationMessage:
    case kErrorMessage:
    case kQuestionMessage: {
      bool answer = false;
      nativeShowBox(static_cast<int>(message), reinterpret_cast<const char16_t*>(first), &answer);
      result = answer ? 1 : 0;
      return true;
    }
    case kSignalMessage:
      fire(kEventSignal);
      return true;
    case kRegisterHotKeyMessage:
    case kUnregisterHotKeyMessage:
    case kUnregisterHotKeysMessage:
      nativeHotKeys(message, first, result);
      return true;
    case kStartTimerMessage:
    case kStopTimerMessage: {
      const auto* request = reinterpret_cast<const TimerRequest*>(first);
      nativeTimer(request->number, request->periodMs, message == kStartTimerMessage);
      return true;
    }
    default:
      return false;
  }
}

void Window::showInformation(std::u16string_view text) {
  sendMessage(kInformationMessage, reinterpret_cast<uintptr_t>(str::strbuffer::StrBuffer(text).data()));
}

void Window::showError(std::u16string_view text) {
  sendMessage(kErrorMessage, reinterpret_cast<uintptr_t>(str::strbuffer::StrBuffer(text).data()));
}

bool Window::askYesNo(std::u16string_view text) {
  return sendMessage(kQuestionMessage, reinterpret_cast<uintptr_t>(str::strbuffer::StrBuffer(text).data())) == 1;
}

void Window::startTimer(int number, int periodMs) {
  TimerRequest request{number, periodMs};
  sendMessage(kStartTimerMessage, reinterpret_cast<uintptr_t>(&request));
}

void Window::stopTimer(int number) {
  TimerRequest request{number, 0};
  sendMessage(kStopTimerMessage, reinterpret_cast<uintptr_t>(&request));
}

// --- Showing and state -------------------------------------------------------------------

void Window::show(bool shown, bool activateIt) {
  if (relayed([=, this] { show(shown, activateIt); })) return;
  if (shown && !shown_) {
    if (!isMaximized() && record_) {
      if (record_->getMaximized()) {
        nativeShow(kShowMaximized);
      } else if (!keepInside_ && placementCheck_) {
        const Rect placement = getPlacement();
        if (!record_->hasPosition() || !isPlacementVisible(placement, getVirtualScreen())) {
          nativeSetRect(centredIn({placement.width, placement.height}, getWorkArea()));
        }
      }
    }
    // Minimised and restored, a window reaches the foreground even when its program
    // is not the active one.
    if (activateIt && taskbarButton_) {
      nativeShow(kShowMinimized);
      nativeShow(kShowRestore);
    }
    if (activateIt) activate(true);
    nativeShow(activateIt ? kShowNormal : kShowNoActivate);
    shown_ = true;
    redraw();
  } else if (!shown && shown_) {
    storePlacement();
    nativeShow(kShowHide);
    shown_ = false;
  }
  nativeTrimWorkingSet();
}

void Window::activate(bool active) {
  if (relayed([=, this] { activate(active); })) return;
  nativeActivate(active);
  active_ = active;
  if (!active) deactivatedAtMs_ = thread::clockMs();
}

void Window::minimize() {
  if (relayed([this] { minimize(); })) return;
  nativeShow(kShowMinimized);
}

void Window::maximize() {
  if (relayed([this] { maximize(); })) return;
  nativeShow(kShowMaximized);
}

void Window::restore() {
  if (relayed([this] { restore(); })) return;
  if (isMaximized() && record_) record_->setMaximized(false);
  if (iconizedToTray_) {
    nativeShow(kShowNormal);
    shown_ = true;
    nativeActivate(true);
    iconizedToTray_ = false;
    if (!trayIconAlways_) showTrayIcon(false);
  }
  nativeShow(kShowRestore);
}

void Window::iconizeToTray() {
  if (relayed([this] { iconizeToTray(); })) return;
  if (iconizedToTray_) return;
  nativeShow(kShowMinimized);
  showTrayIcon(true);
  // Without an icon to click, a hidden window could never come back.
  if (!trayIconShown_) return;
  nativeShow(kShowHide);
  shown_ = false;
  iconizedToTray_ = true;
}

void Window::showTrayIcon(bool shown) {
  if (relayed([=, this] { showTrayIcon(shown); })) return;
  if (shown == trayIconShown_) return;
  trayIconShown_ = nativeTrayIcon(shown) ? shown : false;
}

void Window::restoreRequested() {
  if (iconizedToTray_ || isIconic()) restore();
  activate(true);
}

void Window::trayIconClicked(unsigned mouseMessage) {
  if (mouseMessage == kMouseLeftDown) {
    if (trayClickRestores_) {
      const bool recentlyActive = thread::clockMs() - deactivatedAtMs_ < kRecentlyActiveMs;
      if (iconizedToTray_) {
        restore();
      } else if (active_ || recentlyActive) {
        iconizeToTray();
      } else {
        activate(true);
        if (isIconic()) restore();
      }
    }
    fire(kEventTrayLeftClick);
  } else if (mouseMessage == kMouseRightDown && trayMenu_) {
    fire(kEventTrayRightClick);
    nativeOpenMenu(trayMenu_.get(), true);
  }
}

void Window::middleButtonPressed() {
  fire(kEventMiddleButtonDown);
  switch (middleClick_) {
    case MiddleClick::kClose: close(); break;
    case MiddleClick::kIconize: iconizeToTray(); break;
    case MiddleClick::kDoNothing: break;
  }
}

void Window::activated(bool active) {
  active_ = active;
  if (active) {
    fire(kEventActivated);
  } else {
    deactivatedAtMs_ = thread::clockMs();
    fire(kEventDeactivated);
  }
}

// --- Frame and behaviour -------------------------------------------------------------------

void Window::setTitle(std::u16string_view title) {
  if (relayed([=, this] { setTitle(title); })) return;
  title_.assign(title);
  nativeSetTitle();
}

void Window::setLocalizer(lang::Localizer* localizer, int titleTextId, int versionTextId) {
  if (relayed([=, this] { setLocalizer(localizer, titleTextId, versionTextId); })) return;
  if (localizer_) localizer_->removeListener(this);
  localizer_ = localizer;
  titleTextId_ = titleTextId;
  versionTextId_ = versionTextId;
  if (!localizer_) return;
  localizer_->addListener(this);
  rebuildTitle();
}

void Window::rebuildTitle() {
  if (!localizer_ || titleTextId_ == -1) return;
  std::u16string title(localizer_->getText(titleTextId_));
  if (versionTextId_ != -1) {
    title += u" v";
    title += localizer_->getText(versionTextId_);
  }
  setTitle(title);
}

void Window::languageChanged() {
  if (record_ && record_->getApp()) {
    if (lang::LangPack* pack = localizer_->currentPack()) record_->getApp()->setSavedLanguage(pack->englishName().view());
  }
  rebuildTitle();
  fire(kEventTitleRebuilt);
}

void Window::setMenuBar(MenuEx* menu) {
  if (relayed([=, this] { setMenuBar(menu); })) return;
  setMenuBarNow(menu);
  if (menu) menu->addListener(this);
}

void Window::setPopupMenu(MenuEx* menu) {
  if (relayed([=, this] { setPopupMenu(menu); })) return;
  if (popupMenu_.get() != menu) popupMenu_.reset(menu);
}

void Window::setTrayMenu(MenuEx* menu) {
  if (relayed([=, this] { setTrayMenu(menu); })) return;
  if (trayMenu_.get() != menu) trayMenu_.reset(menu);
}

void Window::setEasyDrag(bool easyDrag) {
  easyDrag_ = easyDrag;
  if (record_) record_->setEasyDrag(easyDrag);
}

void Window::setKeepOnTop(bool keepOnTop) {
  if (relayed([=, this] { setKeepOnTop(keepOnTop); })) return;
  nativeTopmost(keepOnTop);
  keepOnTop_ = keepOnTop;
  if (record_) record_->setKeepOnTop(keepOnTop);
}

void Window::setMiddleClickAction(MiddleClick action) {
  middleClick_ = action;
  if (record_) record_->setMiddleClickAction(textOf(action));
}

void Window::setResizable(bool resizable) {
  if (relayed([=, this] { setResizable(resizable); })) return;
  resizable_ = resizable;
  nativeApplyStyles();
}

void Window::setMaximizeBox(bool shown) {
  if (relayed([=, this] { setMaximizeBox(shown); })) return;
  maximizeBox_ = shown;
  nativeApplyStyles();
}

void Window::setMinimizeBox(bool shown) {
  if (relayed([=, this] { setMinimizeBox(shown); })) return;
  minimizeBox_ = shown;
  nativeApplyStyles();
}

void Window::setClientEdge(bool edge) {
  if (relayed([=, this] { setClientEdge(edge); })) return;
  clientEdge_ = edge;
  nativeApplyStyles();
}

void Window::setTaskbarButton(bool shown) {
  if (relayed([=, this] { setTaskbarButton(shown); })) return;
  if (shown == taskbarButton_) return;
  taskbarButton_ = shown;
  // The platform takes the change only from a hidden window.
  const bool wasShown = shown_ && !isIconic();
  if (wasShown) nativeShow(kShowHide);
  nativeApplyStyles();
  if (wasShown) nativeShow(kShowNoActivate);
}

void Window::setSkinnedFrame(bool skinned) {
  if (relayed([=, this] { setSkinnedFrame(skinned); })) return;
  skinnedFrame_ = skinned;
  nativeApplyStyles();
}

void Window::setClipboardListener(bool listening) {
  if (relayed([=, this] { setClipboardListener(listening); })) return;
  if (listening == clipboardListener_) return;
  nativeClipboard(listening);
  clipboardListener_ = listening;
}

// --- Placement -------------------------------------------------------------------------------

void Window::setWindowRecord(app::IAppWindow* record) {
  if (relayed([=, this] { setWindowRecord(record); })) return;
  record_ = record;
  if (!record_) return;
  easyDrag_ = record_->getEasyDrag();
  middleClick_ = middleClickOf(record_->getMiddleClickAction());
  setKeepOnTop(record_->getKeepOnTop());
  Rect placement = getPlacement();
  if (record_->hasPosition()) placement.x = record_->getX(), placement.y = record_->getY();
  if (record_->isWidthValid()) placement.width = record_->getWidth();
  if (record_->isHeightValid()) placement.height = record_->getHeight();
  setPlacement(placement);
}

void Window::storePlacement() {
  if (record_) record_->setPlacement(normal_.x, normal_.y, normal_.width, normal_.height);
}

void Window::setPlacement(const Rect& placement) {
  if (relayed([=, this] { setPlacement(placement); })) return;
  nativeSetRect(placement);
}

void Window::ensureMinimumSize() {
  if (relayed([this] { ensureMinimumSize(); })) return;
  const int width = std::max(getWidth(), getMinWidth());
  const int height = std::max(getHeight(), getMinHeight());
  if (width != getWidth() || height != getHeight()) setSize(width, height);
}

void Window::keepInsideScreen() {
  if (relayed([this] { keepInsideScreen(); })) return;
  const Rect placement = getPlacement();
  const Rect inside = keptInside(placement, getVirtualScreen());
  if (!(inside == placement)) nativeSetRect(inside);
}

void Window::sizeChanged(int kind, int clientWidth, int clientHeight) {
  constexpr int kRestored = 0, kMinimized = 1, kMaximized = 2;
  if (skinnedFrame_) nativeApplyRegion();  // the frame's shape follows the size
  if (kind != kMinimized) nativeWindowResized(clientWidth, clientHeight);
  if (kind == kRestored) {
    if (wasMaximized_) wasMaximized_ = false;
    fire(kEventRestored);
  } else if (kind == kMinimized) {
    if (record_) record_->setMaximized(false);
    storePlacement();
  } else if (kind == kMaximized) {
    wasMaximized_ = true;
    if (record_) record_->setMaximized(true);
    storePlacement();
  }
  fire(kEventSizeChanged);
}

void Window::positionChanged(bool moved, const Rect& placement) {
  if (moved) fire(kEventMoved);
  if (!isIconic() && !isMaximized()) normal_ = placement;
}

void Window::add(IComponent* child) {
  if (relayed([=, this] { add(child); })) return;
  TopLevelBase::add(child);
}

}  // namespace s::gui::win
