// The top-level window's behaviour that both systems share: its thread, its events
// and their order, closing, the relayed record, restoring, the middle-click action,
// the window record and the language. On Linux the native window is kept in memory;
// under Wine these run on real windows.
#include "s/gui/win/Window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "WindowTesting.h"
#include "s/archive/IResourceSource.h"
#include "s/col/_array/ArrayU08.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/WindowMessages.h"
#include "s/lang/Localizer.h"
#include "s/thread/Clock.h"
#include "s/thread/Owned.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Window;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.reset(Window::create());
    ASSERT_TRUE(window->hasPlatformWindow());
  }
  // The window's thread id, as the window's thread sees it.
  std::thread::id windowThread() {
    std::thread::id id;
    window->invoke([&] { id = std::this_thread::get_id(); });
    return id;
  }

  QuietMessageBoxes quiet;
  Owned<Window> window;
};

TEST_F(WindowTest, ListenersHearEventsOnTheWindowsThreadInRegistrationOrder) {
  std::vector<ThreadRecorder::Heard> log;
  ThreadRecorder first(&log), second(&log);
  window->addEventListener(Window::kEventSignal, &first);
  window->addEventListener(Window::kEventSignal, &second);
  window->addEventListener(Window::kEventSignal, &first);  // twice: told twice
  window->addEventListener(Window::kEventCloseRequested, &second);

  EXPECT_EQ(window->sendMessage(win::kSignalMessage), 0);
  const auto heard = first.heard();
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[0].listener, &first);
  EXPECT_EQ(heard[1].listener, &second);
  EXPECT_EQ(heard[2].listener, &first);
  const std::thread::id uiThread = windowThread();
  EXPECT_NE(uiThread, std::this_thread::get_id());
  for (const auto& h : heard) {
    EXPECT_EQ(h.type, Window::kEventSignal);
    EXPECT_EQ(h.source, static_cast<base::IObject*>(window.get()));
    EXPECT_EQ(h.thread, uiThread);
  }
}

// The numbers listeners compare with, as they arrive.
TEST_F(WindowTest, EventsArriveWithTheirNumbers) {
  ThreadRecorder recorder;
  for (int type : {1, 2, 4, 9, 15, 21}) window->addEventListener(type, &recorder);
  const auto types = [&] {
    std::vector<int> seen;
    for (const auto& heard : recorder.heard()) seen.push_back(heard.type);
    return seen;
  };
  window->sendRecord(1, 2, 3, 4);
  window->sendMessage(win::kSignalMessage);
  window->invoke([&] { window->middleButtonPressed(); });
  EXPECT_EQ(types(), (std::vector<int>{2, 15, 9}));

  window->show(true, false);
  window->minimize();
  EXPECT_EQ(types().back(), 4);
  window->restore();
  const auto afterRestore = types();
  ASSERT_GE(afterRestore.size(), 5u);
  EXPECT_EQ(std::vector<int>(afterRestore.end() - 2, afterRestore.end()), (std::vector<int>{21, 4}));

  window->close();
  EXPECT_EQ(types().back(), 1);
}

// Vetoes every close request while armed.
class Veto : public events::IEventListener {
 public:
  explicit Veto(Window& window) : window_(window) {}
  void onEvent(base::IObject*, int) override {
    ++requests;
    if (armed) window_.setKeepOpen(true);
  }
  bool armed = true;
  int requests = 0;

 private:
  Window& window_;
};

TEST_F(WindowTest, CloseRequestsHideTheWindowUnlessAListenerVetoes) {
  Veto veto(*window);
  window->addEventListener(Window::kEventCloseRequested, &veto);
  window->show(true, false);

  window->close();
  EXPECT_EQ(veto.requests, 1);
  EXPECT_FALSE(window->isClosed());
  EXPECT_TRUE(window->isWindowShown());

  veto.armed = false;
  std::atomic<bool> released{false};
  std::thread waiter([&] {
    window->waitUntilClosed();
    released = true;
  });
  window->close();
  waiter.join();
  EXPECT_TRUE(released);
  EXPECT_EQ(veto.requests, 2);
  EXPECT_TRUE(window->isClosed());
  EXPECT_FALSE(window->isWindowShown());
  // Closed means hidden, not gone: the window still answers.
  EXPECT_TRUE(window->hasPlatformWindow());
}

TEST_F(WindowTest, ASecondCloseDestroysTheWindowAndSendsFailAtOnce) {
  window->close();
  ASSERT_TRUE(window->isClosed());
  window->close();
  EXPECT_FALSE(window->hasPlatformWindow());
  EXPECT_EQ(window->sendRecord(1, 2, 3, 4), 0u);
  EXPECT_FALSE(window->getJobEvents().send(thread::RelayRecord{}));
  EXPECT_FALSE(window->invoke([] {}));
}

TEST_F(WindowTest, AClosingSourceClosesTheWindow) {
  Owned<win::Box> button(win::Box::create());
  window->addClosingSource(button.get());
  window->invoke([&] { window->onEvent(window.get(), 1); });  // not a closing source
  EXPECT_FALSE(window->isClosed());
  window->invoke([&] { window->onEvent(button.get(), 42); });
  EXPECT_TRUE(window->isClosed());
}

// Answers each relayed record on the window's thread: slowly, so that a sender
// returning early would be seen, and with a reply only when asked to.
class RelayListener : public events::IEventListener {
 public:
  explicit RelayListener(Window& window) : window_(window) {}
  void onEvent(base::IObject*, int) override {
    thread::sleepMs(30);
    values.push_back({window_.getRelayValue(1), window_.getRelayValue(2), window_.getRelayValue(3),
                      window_.getRelayValue(4)});
    if (reply != 0) window_.setRelayReply(reply);
    thread = std::this_thread::get_id();
    done = true;
  }
  std::vector<std::vector<uintptr_t>> values;
  uintptr_t reply = 0;
  std::thread::id thread;
  std::atomic<bool> done{false};

 private:
  Window& window_;
};

TEST_F(WindowTest, AJobEventFromAWorkerReachesTheWindowsThreadAndTheWorkerWaits) {
  RelayListener listener(*window);
  listener.reply = 77;
  window->addEventListener(Window::kEventRecordRelayed, &listener);
  static const char16_t kName[] = u"ProcessStatusUpdate";
  thread::RelayRecord record;
  record.values[0] = reinterpret_cast<uintptr_t>(kName);  // a text pointer is carried whole
  record.values[1] = 40000;
  record.values[2] = 7;
  uintptr_t reply = 0;
  bool sent = false, handledBeforeReturn = false;
  std::thread worker([&] {
    sent = window->getJobEvents().send(record, &reply);
    handledBeforeReturn = listener.done;
  });
  worker.join();
  EXPECT_TRUE(sent);
  EXPECT_TRUE(handledBeforeReturn);
  EXPECT_EQ(reply, 77u);
  EXPECT_EQ(listener.thread, windowThread());
  ASSERT_EQ(listener.values.size(), 1u);
  EXPECT_EQ(listener.values[0], (std::vector<uintptr_t>{reinterpret_cast<uintptr_t>(kName), 40000, 7, 0}));

  // The reply stays what a listener last set: this listener sets none.
  listener.reply = 0;
  EXPECT_EQ(window->sendRecord(5, 6, 7, 8), 77u);
  EXPECT_EQ(listener.values.back(), (std::vector<uintptr_t>{5, 6, 7, 8}));
}

// Destroys the window from inside the first relayed record, while a second sender
// is on its way: queued behind the first, or arriving after the window has gone.
class DestroyingListener : public events::IEventListener {
 public:
  explicit DestroyingListener(Window& window) : window_(window) {}
  void onEvent(base::IObject*, int) override {
    entered = true;
    thread::sleepMs(20);  // time for the second sender to queue
    window_.close();
    window_.close();
  }
  std::atomic<bool> entered{false};

 private:
  Window& window_;
};

TEST_F(WindowTest, SendersWaitingForADestroyedWindowAreLetGo) {
  DestroyingListener listener(*window);
  window->addEventListener(Window::kEventRecordRelayed, &listener);
  thread::SyncRelay& relay = window->getJobEvents();
  std::atomic<bool> firstDelivered{false}, secondDelivered{true};
  std::thread first([&] { firstDelivered = relay.send(thread::RelayRecord{}); });
  EXPECT_TRUE(waitFor([&] { return listener.entered.load(); }));
  std::thread second([&] { secondDelivered = relay.send(thread::RelayRecord{}); });
  first.join();
  second.join();
  EXPECT_TRUE(firstDelivered);
  EXPECT_FALSE(secondDelivered);
  EXPECT_FALSE(window->hasPlatformWindow());
}

TEST_F(WindowTest, RestoreRequestBringsBackAMinimisedOrIconizedWindow) {
  window->show(true, false);
  window->minimize();
  EXPECT_TRUE(window->isIconic());
  window->sendMessage(win::kRestoreMessage);
  EXPECT_FALSE(window->isIconic());
  EXPECT_TRUE(window->isActive());

  window->iconizeToTray();
  if (!window->isIconizedToTray()) GTEST_SKIP() << "no notification area here";
  EXPECT_FALSE(window->isWindowShown());
  EXPECT_TRUE(window->isTrayIconShown());
  window->sendMessage(win::kRestoreMessage);
  EXPECT_FALSE(window->isIconizedToTray());
  EXPECT_FALSE(window->isTrayIconShown());
  EXPECT_TRUE(window->isWindowShown());
  EXPECT_FALSE(window->isIconic());
}

TEST_F(WindowTest, MiddleClickActions) {
  // The action's text as the window record stores it.
  EXPECT_EQ(Window::middleClickOf(u"iconize"), Window::MiddleClick::kIconize);
  EXPECT_EQ(Window::middleClickOf(u"CLOSE"), Window::MiddleClick::kClose);
  EXPECT_EQ(Window::middleClickOf(u"Minimize"), Window::MiddleClick::kDoNothing);
  EXPECT_EQ(Window::middleClickOf(u""), Window::MiddleClick::kDoNothing);

  ThreadRecorder middle;
  window->addEventListener(Window::kEventMiddleButtonDown, &middle);
  window->show(true, false);
  const auto middleClick = [&] { window->invoke([&] { window->middleButtonPressed(); }); };

  window->setMiddleClickAction(Window::MiddleClick::kDoNothing);
  middleClick();
  EXPECT_TRUE(window->isWindowShown());
  EXPECT_FALSE(window->isClosed());

  window->setMiddleClickAction(Window::MiddleClick::kIconize);
  middleClick();
  if (window->isIconizedToTray()) {
    EXPECT_FALSE(window->isWindowShown());
    // A left click on the icon brings the window back.
    window->sendMessage(win::kTrayIconMessage, 0, win::kMouseLeftDown);
    EXPECT_FALSE(window->isIconizedToTray());
    EXPECT_TRUE(window->isWindowShown());
  }

  window->setMiddleClickAction(Window::MiddleClick::kClose);
  middleClick();
  EXPECT_TRUE(window->isClosed());
  EXPECT_EQ(middle.count(Window::kEventMiddleButtonDown), 3);
}

TEST_F(WindowTest, TheWindowRecordKeepsPlacementAndSettings) {
  FakeAppWindow record;
  record.easyDrag = true;
  record.keepOnTop = true;
  record.middleClick = u"iconize";
  const Rect screen = window->getVirtualScreen();
  record.store({screen.x + 50, screen.y + 60, 300, 200});
  window->setWindowRecord(&record);
  EXPECT_TRUE(window->isEasyDrag());
  EXPECT_TRUE(window->isKeepOnTop());
  EXPECT_EQ(window->getMiddleClickAction(), Window::MiddleClick::kIconize);
  EXPECT_EQ(window->getPlacement(), (Rect{screen.x + 50, screen.y + 60, 300, 200}));

  // Changes are written back.
  window->setEasyDrag(false);
  window->setKeepOnTop(false);
  window->setMiddleClickAction(Window::MiddleClick::kClose);
  EXPECT_FALSE(record.easyDrag);
  EXPECT_FALSE(record.keepOnTop);
  EXPECT_EQ(record.middleClick, u"Close");

  // A visible stored position is kept when shown; hiding stores the placement.
  window->show(true, false);
  EXPECT_EQ(window->getPlacement(), (Rect{screen.x + 50, screen.y + 60, 300, 200}));
  window->setPlacement({screen.x + 70, screen.y + 80, 320, 210});
  window->show(false, false);
  EXPECT_EQ(record.placement, (Rect{screen.x + 70, screen.y + 80, 320, 210}));

  // Maximising is recorded; minimising clears it and stores the normal placement.
  window->show(true, false);
  window->maximize();
  EXPECT_TRUE(record.maximized);
  window->minimize();
  EXPECT_FALSE(record.maximized);
  EXPECT_EQ(record.placement, (Rect{screen.x + 70, screen.y + 80, 320, 210}));
}

TEST_F(WindowTest, AWindowWithoutAVisiblePlacementIsCentredWhenShown) {
  FakeAppWindow record;
  const Rect screen = window->getVirtualScreen();
  // Stored far off every screen.
  record.store({screen.x + screen.width + 500, screen.y, 300, 200});
  window->setWindowRecord(&record);
  window->show(true, false);
  const Rect work = window->getWorkArea();
  EXPECT_EQ(window->getPlacement(),
            (Rect{work.x + (work.width - 300) / 2, work.y + (work.height - 200) / 2, 300, 200}));
}

// The language document of the tests: two packs with a title and a version.
class TwoLanguages final : public archive::IResourceSource {
 public:
  bool readResource(std::u16string_view, uint32_t, col::_array::ArrayU08* out) override {
    static const char kDocument[] =
        "<lang><languages>"
        "<entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>"
        "<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"/>"
        "</languages><entries>"
        "<entry id=\"500000\"><eng>Gallery</eng><deu>Galerie</deu></entry>"
        "<entry id=\"500010\"><eng>1.0</eng></entry>"
        "</entries></lang>";
    out->clear();
    out->writeRaw(kDocument, sizeof(kDocument) - 1, 0, 0);
    return true;
  }
};

TEST_F(WindowTest, ALanguageChangeRebuildsTheTitleAndSavesTheLanguage) {
  TwoLanguages document;
  Owned<lang::Localizer> localizer = thread::make<lang::Localizer>();
  localizer->setSystemLanguage(u"English");
  localizer->loadFrom(document);
  FakeAppWindow record;
  window->setWindowRecord(&record);
  ThreadRecorder rebuilt;
  window->addEventListener(Window::kEventTitleRebuilt, &rebuilt);
  window->setLocalizer(localizer.get(), 500000, 500010);
  EXPECT_EQ(window->getTitle(), u"Gallery v1.0");

  window->invoke([&] { localizer->selectLanguage(u"German"); });
  EXPECT_EQ(window->getTitle(), u"Galerie v1.0");
  EXPECT_EQ(record.language, u"German");
  EXPECT_EQ(rebuilt.count(Window::kEventTitleRebuilt), 1);
  window->setLocalizer(nullptr, -1, -1);
}

TEST_F(WindowTest, MessageBoxesAreShownOnTheWindowsThread) {
  static std::thread::id boxThread;
  static std::u16string boxTitle, boxText;
  const auto previous = win::MessageBoxW::setHandler([](win::MessageBoxW::Kind kind, std::u16string_view title,
                                                         std::u16string_view text) {
    boxThread = std::this_thread::get_id();
    boxTitle = title;
    boxText = text;
    return kind == win::MessageBoxW::kQuestion;
  });
  window->setTitle(u"Pictorva");
  window->showError(u"Cannot write the page");
  EXPECT_EQ(boxThread, windowThread());
  EXPECT_EQ(boxTitle, u"Pictorva");
  EXPECT_EQ(boxText, u"Cannot write the page");
  EXPECT_TRUE(window->askYesNo(u"Overwrite?"));
  EXPECT_EQ(boxText, u"Overwrite?");
  win::MessageBoxW::setHandler(previous);
}

}  // namespace
}  // namespace s::gui::testing
