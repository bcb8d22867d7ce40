#pragma once
// Window: the toolkit's top-level window, on a user-interface thread of its own.
//
// Making a window starts its thread, which creates a hidden owner window (an
// InvisibleWindow: it keeps the window off the taskbar unless the window asks for a
// button) and then the window itself, hidden, titled "Window", 240 × 120, and runs the
// message loop. The thread that made the window configures it, fills it, shows it and
// typically waits in waitUntilClosed(). Releasing the window ends its thread.
//
// Threads. Every platform message, and with it every event, is handled on the
// window's thread; listeners run there. The window's own operations may be called
// from any thread: called elsewhere they are carried over to the window's thread
// (invoke) and the caller waits. Components inside the window are used on the
// window's thread only: build and change them inside invoke(). A synchronous send to
// a window whose native window is gone, or whose thread has ended, fails at once.
//
// Events. Listeners register per event type (addEventListener) and hear
// (window, type), in the order they registered; registering twice notifies twice.
// Objects registered as closing sources close the window when they report any event
// to it (a Close button). The relayed record (four pointer-sized values and a reply)
// carries job events from worker threads: sendRecord(), message kRelayMessage, or
// the job-event relay (getJobEvents), which a job on a worker thread sends to.
//
// Size. As a component, the window's size is its client area's (its children are
// laid out in it). Placements (getPlacement, the window record's X, Y, Width,
// Height) are outer window rectangles in screen coordinates.
//
// Closing hides the window and marks it closed; waitUntilClosed() then returns. A
// close listener may veto (setKeepOpen). A second close request of a closed window
// destroys its native window.
//
// On Linux the native window is kept in memory (MemoryWindow) and the platform's
// window state (shown, minimised, maximised, topmost, the notification-area icon,
// the rectangle) is simulated, so the portable behaviour can be tested there.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "s/gui/win/FrameGeometry.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/TopLevelBase.h"
#include "s/gui/win/UIThread.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"
#include "s/thread/SyncRelay.h"

namespace s::app {
class IAppWindow;
}
namespace s::lang {
class Localizer;
}
namespace s::gui::win {

class MenuEx;

class Window final : public thread::PooledObject<Window, TopLevelBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_Window";
  // A window ends with its thread: released windows are not kept for reuse.
  static constexpr int kIdleCapacity = 0;

  enum Event {
    kEventCloseRequested = 1,   // a listener may veto with setKeepOpen(true)
    kEventRecordRelayed = 2,    // getRelayValue(1..4); setRelayReply answers the sender
    kEventRightButtonDown = 3,  // in the client area
    kEventSizeChanged = 4,
    kEventLeftButtonDown = 5,
    kEventActivated = 6,
    kEventDeactivated = 7,
    kEventSizing = 8,  // getSizingRecord() may be changed
    kEventMiddleButtonDown = 9,
    kEventPositionChanging = 10,
    kEventMoved = 11,
    kEventKeyDown = 12,  // getLastKey()
    kEventMouseMoved = 13,
    kEventWheel = 14,  // getWheelLines()
    kEventSignal = 15,
    kEventLeftDoubleClick = 16,
    kEventDragEnded = 17,
    kEventTrayRightClick = 18,
    kEventPopupMenu = 19,
    kEventTitleRebuilt = 20,
    kEventRestored = 21,
    kEventTrayLeftClick = 22,
    kEventHotKey = 23,  // getLastHotKey()
    kEventRightButtonUp = 24,
    kEventLeftButtonUp = 25,
    kEventTimer = 26,  // getLastTimer()
    kEventClipboardChanged = 27,
  };
  static constexpr int kEventCount = 28;

  // What a middle click does, and its texts in the window record.
  enum class MiddleClick { kDoNothing, kIconize, kClose };
  static constexpr char16_t kDoNothing[] = u"DoNothing";
  static constexpr char16_t kIconize[] = u"Iconize";
  static constexpr char16_t kClose[] = u"Close";
  // The text's action ("Iconize", "Close", ignoring case); any other is kDoNothing.
  static MiddleClick middleClickOf(std::u16string_view text);
  static std::u16string_view textOf(MiddleClick action);

  Window();
  ~Window() override;

  // Ends the window's thread and frees the window. A thread that does not end in time
  // is left running with the window, which is then never freed (see UIThread).
  void release() override;
  void reset() override;

  // --- Threads ------------------------------------------------------------------------
  // The window's thread runs and has its native window.
  bool hasPlatformWindow() const;
  bool isWindowThread() const { return thread_.isCurrent(); }
  // Runs f on the window's thread and waits for it (at once when called there).
  // False when it could not run: the window has no native window or thread any more.
  bool invoke(const std::function<void()>& f);
  // Sends a message to the window's thread and waits for its result; 0 at once when
  // the native window is gone or its thread has ended. On Windows this is SendMessageW.
  intptr_t sendMessage(unsigned message, uintptr_t first = 0, intptr_t second = 0);
  // The relay that job events (thread/JobEvent.h) are sent to: its receiver is the
  // window's thread, each record raises kEventRecordRelayed there and the sender
  // gets the relay reply. It is closed when the native window is destroyed or the
  // thread ends, so a sender never waits for a window that is gone.
  thread::SyncRelay& getJobEvents() { return jobEvents_; }

  // --- Listeners ----------------------------------------------------------------------
  void addEventListener(int eventType, events::IEventListener* listener);
  // The window closes when source reports any event to it.
  void addClosingSource(base::IObject* source);
  void onEvent(base::IObject* source, int eventType) override;

  // --- Closing ------------------------------------------------------------------------
  // A close request, as the frame's close button makes one.
  void close();
  // For close listeners: keep the window open this time.
  void setKeepOpen(bool keepOpen) { keepOpen_ = keepOpen; }
  bool isClosed() const { return closed_.load() != 0; }
  // Blocks the calling thread, testing every 10 ms, until the window is closed.
  void waitUntilClosed() const;

  // --- Showing and state --------------------------------------------------------------
  // true: shows the window (placed by the window record when one is given; centred
  // when it has no visible placement), brought to the front when activate. false:
  // stores the placement and hides it.
  void show(bool shown, bool activate);
  bool isWindowShown() const { return shown_; }
  // true: brings the window to the front and activates it; false: deactivates it.
  void activate(bool active);
  bool isActive() const { return active_; }
  void minimize();
  void maximize();
  bool isIconic() const;
  bool isMaximized() const;
  // Out of the notification area, out of minimised or maximised, back to normal.
  void restore();
  // Minimises and hides the window and shows its notification-area icon (when the
  // platform will not show the icon, the window only stays minimised).
  void iconizeToTray();
  bool isIconizedToTray() const { return iconizedToTray_; }
  void showTrayIcon(bool shown);
  bool isTrayIconShown() const { return trayIconShown_; }
  // The icon stays in the notification area while the window is shown too.
  void setTrayIconAlwaysShown(bool always) { trayIconAlways_ = always; }
  // A left click on the notification-area icon restores or iconizes the window.
  void setTrayClickRestores(bool restores) { trayClickRestores_ = restores; }

  // --- Frame and behaviour ------------------------------------------------------------
  void setTitle(std::u16string_view title);
  // Language text ids of the title and of a version suffix (title " v" version),
  // taken from localizer now and whenever its language changes (−1: none). The
  // window listens to the localizer (not owned) until it is released.
  void setLocalizer(lang::Localizer* localizer, int titleTextId, int versionTextId);
  // The small icon of the window and of its owner (an HICON on Windows, owned).
  void setIcon(void* icon);
  void setMenuBar(MenuEx* menu);
  // Opens on a right click (owned).
  void setPopupMenu(MenuEx* menu);
  // Opens on a right click on the notification-area icon (owned).
  void setTrayMenu(MenuEx* menu);
  void setEasyDrag(bool easyDrag);
  bool isEasyDrag() const { return easyDrag_; }
  void setKeepOnTop(bool keepOnTop);
  bool isKeepOnTop() const { return keepOnTop_; }
  void setMiddleClickAction(MiddleClick action);
  MiddleClick getMiddleClickAction() const { return middleClick_; }
  void setResizable(bool resizable);
  void setMaximizeBox(bool shown);
  void setMinimizeBox(bool shown);
  void setClientEdge(bool edge);
  void setTaskbarButton(bool shown);
  // The frame's close button iconizes to the notification area instead of closing.
  void setCloseToTray(bool closeToTray) { closeToTray_ = closeToTray; }
  // The frame is painted by the skin's window drawer and shaped by it; the platform's
  // frame and caption go, and the skin's edges resize the window.
  void setSkinnedFrame(bool skinned);
  bool isSkinnedFrame() const { return skinnedFrame_; }
  // Keeps the window inside the screen while it moves.
  void setKeepInside(bool keepInside) { keepInside_ = keepInside; }
  // Whether show() centres a window whose placement cannot be seen.
  void setPlacementCheck(bool check) { placementCheck_ = check; }
  // Joins the clipboard's listeners (kEventClipboardChanged).
  void setClipboardListener(bool listening);

  // --- Placement ----------------------------------------------------------------------
  // The application's record of this window (not owned; nullptr for none). Attaching
  // it takes the stored placement (when visible), easy drag, keep on top and the
  // middle-click action from it; from then on the window writes them back.
  void setWindowRecord(app::IAppWindow* record);
  app::IAppWindow* getWindowRecord() const { return record_; }
  // The outer rectangle now, and the last one while neither minimised nor maximised.
  Rect getPlacement() const;
  Rect getNormalPlacement() const { return normal_; }
  void setPlacement(const Rect& placement);
  // The desktop's work area (without the taskbar) and the virtual screen (all monitors).
  Rect getWorkArea() const;
  Rect getVirtualScreen() const;
  // Grows the window to its minimum size when it is smaller.
  void ensureMinimumSize();
  // Moves the window back inside the virtual screen.
  void keepInsideScreen();

  // --- Relay and messages -------------------------------------------------------------
  // Sends the record to the window's thread (kRelayMessage) and returns the reply; 0
  // when the window has no native window.
  uintptr_t sendRecord(uintptr_t value1, uintptr_t value2, uintptr_t value3, uintptr_t value4);
  // The values of the last relayed record, 1 to 4.
  uintptr_t getRelayValue(int index) const;
  // The reply to the senders of relayed records; it stays until changed.
  void setRelayReply(uintptr_t reply) { relayReply_ = reply; }
  // Message boxes on the window's thread, owned by the window and titled with its
  // title; the calling thread waits.
  void showInformation(std::u16string_view text);
  void showError(std::u16string_view text);
  bool askYesNo(std::u16string_view text);
  // Starts (stops) user timer number, which raises kEventTimer.
  void startTimer(int number, int periodMs);
  void stopTimer(int number);

  // --- What listeners read --------------------------------------------------------------
  SizingRecord& getSizingRecord() { return sizing_; }
  unsigned getLastKey() const { return lastKey_; }
  int getLastHotKey() const { return lastHotKey_; }
  int getLastTimer() const { return lastTimer_; }
  int getWheelLines() const { return wheelLines_; }

  void add(IComponent* child) override;
  void frameDestroyed() override;

  // --- What the native window reports (on the window's thread) ------------------------
  // A close request; false when the window is closed already (the platform's
  // processing then destroys it).
  bool closeRequested();
  uintptr_t relayRecord(const thread::RelayRecord& record);
  void restoreRequested();
  void trayIconClicked(unsigned mouseMessage);
  void middleButtonPressed();
  void activated(bool active);
  // The size changed: kind is the platform's (restored 0, minimised 1, maximised 2).
  void sizeChanged(int kind, int clientWidth, int clientHeight);
  // The window moved or was resized; placement is its rectangle now.
  void positionChanged(bool moved, const Rect& placement);
  // An event of the native window that carries nothing the window does not hold
  // already (mouse buttons and moves, the end of a drag, sizing and position changes,
  // the clipboard): the listeners of eventType hear it.
  void report(int eventType) { fire(eventType); }
  void keyPressed(unsigned key);
  void timerElapsed(int number);
  void hotKeyPressed(int id);
  // The right button went down: its listeners, then the popup menu when there is one.
  void rightButtonPressed();
  // The wheel turned by lines (negative: towards the user); false when no listener
  // takes it.
  bool wheelTurned(int lines);
  // The system menu's Close: true when the window went to the notification area
  // instead of closing (setCloseToTray).
  bool systemCloseRequested();
  // The window's own messages (WindowMessages.h); false for the platform's processing.
  bool handleToolkitMessage(unsigned message, uintptr_t first, intptr_t second, intptr_t& result);
  bool isResizable() const { return resizable_; }
  bool keepsInside() const { return keepInside_; }

 private:
  struct Platform;  // the native side: Window_win.cpp, Window_posix.cpp

  // The thread's routine: makes the native windows, runs the loop, cleans up.
  void threadMain();
  void postQuit();
  // f ran on the window's thread (the caller returns), or the caller goes on itself.
  bool relayed(const std::function<void()>& f);
  void fire(int eventType);

  void languageChanged();
  // The title with its language texts.
  void rebuildTitle();
  void storePlacement();

  // The platform's side of the operations above (Window_win.cpp, Window_posix.cpp).
  enum ShowCommand { kShowHide, kShowNormal, kShowNoActivate, kShowMinimized, kShowRestore, kShowMaximized };
  void nativeShow(ShowCommand command);
  void nativeActivate(bool active);
  bool nativeTrayIcon(bool add);
  void nativeTopmost(bool topmost);
  void nativeApplyStyles();
  // The skinned frame's shape for the window's size now.
  void nativeApplyRegion();
  // Opens menu at the cursor (with the window in the foreground when asked) and runs
  // the command chosen.
  void nativeOpenMenu(MenuEx* menu, bool foreground);
  void nativeSetTitle();
  void nativeSetRect(const Rect& placement);
  void nativeShowBox(int kind, std::u16string_view text, bool* answer);
  void nativeTimer(int number, int periodMs, bool start);
  void nativeHotKeys(unsigned message, uintptr_t first, intptr_t& result);
  void nativeClipboard(bool listen);
  void nativeTrimWorkingSet();
  // Destroys the native windows (the platform's processing of a second close request).
  void nativeDestroy();
  // The native window is gone: other threads no longer reach it.
  void nativeForgetFrame();

  UIThread thread_;
  std::unique_ptr<Platform> platform_;
  thread::SyncRelay jobEvents_;
  std::array<std::vector<events::IEventListener*>, kEventCount> listeners_;
  std::vector<base::IObject*> closingSources_;

  std::atomic<uint8_t> closed_{0};
  bool shown_ = false;
  bool keepOpen_ = false;
  bool active_ = false;
  int64_t deactivatedAtMs_ = 0;
  bool easyDrag_ = false;
  bool resizable_ = true;
  bool maximizeBox_ = true;
  bool minimizeBox_ = true;
  bool clientEdge_ = true;
  bool taskbarButton_ = true;
  bool keepOnTop_ = false;
  bool closeToTray_ = false;
  bool skinnedFrame_ = false;
  bool keepInside_ = false;
  bool placementCheck_ = true;
  bool clipboardListener_ = false;
  MiddleClick middleClick_ = MiddleClick::kDoNothing;
  bool iconizedToTray_ = false;
  bool trayIconShown_ = false;
  bool trayIconAlways_ = false;
  bool trayClickRestores_ = true;
  bool wasMaximized_ = false;
  int titleTextId_ = -1;
  int versionTextId_ = -1;
  lang::Localizer* localizer_ = nullptr;
  app::IAppWindow* record_ = nullptr;
  thread::Owned<MenuEx> popupMenu_;
  thread::Owned<MenuEx> trayMenu_;
  void* icon_ = nullptr;
  thread::RelayRecord relayed_;
  uintptr_t relayReply_ = 0;
  SizingRecord sizing_;
  Rect normal_;
  unsigned lastKey_ = 0;
  int lastHotKey_ = 0;
  int lastTimer_ = 0;
  int wheelLines_ = 0;
};

}  // namespace s::gui::win
