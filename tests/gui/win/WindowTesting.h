#pragma once
// What the tests of top-level windows share on both systems: a window record kept in
// memory, a listener that notes the thread each event arrives on, and message boxes
// that never block.
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "s/app/IAppBase.h"
#include "s/app/IAppWindow.h"
#include "s/gui/Geometry.h"
#include "s/gui/events/IEventListener.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/thread/Clock.h"

namespace s::gui::testing {

// Waits up to timeoutMs for done(); other threads (a window's) run meanwhile.
template <class Done>
bool waitFor(Done done, int timeoutMs = 5000) {
  const int64_t end = thread::clockMs() + timeoutMs;
  while (!done()) {
    if (thread::clockMs() > end) return false;
    thread::sleepMs(5);
  }
  return true;
}

// A message box would block the test run: boxes are counted instead, and questions
// get the answer set here.
struct QuietMessageBoxes {
  static inline int shown = 0;
  static inline bool answer = false;
  QuietMessageBoxes() {
    previous = win::MessageBoxW::setHandler([](win::MessageBoxW::Kind, std::u16string_view, std::u16string_view) {
      ++shown;
      return answer;
    });
  }
  ~QuietMessageBoxes() { win::MessageBoxW::setHandler(previous); }
  win::MessageBoxW::Handler previous;
};

// Notes each event with the thread it arrived on; safe to read from other threads.
class ThreadRecorder : public events::IEventListener {
 public:
  struct Heard {
    const ThreadRecorder* listener;
    base::IObject* source;
    int type;
    std::thread::id thread;
  };
  // Several recorders may share one log, to see their order.
  explicit ThreadRecorder(std::vector<Heard>* log = nullptr) : log_(log ? log : &own_) {}
  void onEvent(base::IObject* source, int eventType) override {
    std::lock_guard<std::mutex> lock(mutex());
    log_->push_back({this, source, eventType, std::this_thread::get_id()});
  }
  std::vector<Heard> heard() const {
    std::lock_guard<std::mutex> lock(mutex());
    return *log_;
  }
  int count(int type) const {
    int n = 0;
    for (const Heard& h : heard()) n += h.type == type && h.listener == this ? 1 : 0;
    return n;
  }

 private:
  static std::mutex& mutex() {
    static std::mutex shared;
    return shared;
  }
  std::vector<Heard> own_;
  std::vector<Heard>* log_;
};

class FakeAppWindow final : public app::IAppWindow, public app::IAppBase {
 public:
  app::IAppBase* getApp() override { return this; }

  bool hasPosition() override { return hasPosition_; }
  int getX() override { return placement.x; }
  int getY() override { return placement.y; }
  int getWidth() override { return placement.width; }
  int getHeight() override { return placement.height; }
  bool isWidthValid() override { return placement.width >= 10; }
  bool isHeightValid() override { return placement.height >= 10; }
  void setPlacement(int x, int y, int width, int height) override {
    placement = {x, y, width, height};
    hasPosition_ = true;
    ++placementWrites;
  }
  bool getMaximized() override { return maximized; }
  void setMaximized(bool value) override { maximized = value; }
  bool getEasyDrag() override { return easyDrag; }
  void setEasyDrag(bool value) override { easyDrag = value; }
  bool getKeepOnTop() override { return keepOnTop; }
  void setKeepOnTop(bool value) override { keepOnTop = value; }
  std::u16string_view getMiddleClickAction() override { return middleClick; }
  void setMiddleClickAction(std::u16string_view action) override { middleClick = action; }

  std::u16string_view getSavedLanguage() override { return language; }
  void setSavedLanguage(std::u16string_view name) override { language = name; }

  // A stored position (and size, when both are at least 10).
  void store(const Rect& rect) {
    placement = rect;
    hasPosition_ = true;
  }

  Rect placement;
  int placementWrites = 0;
  bool maximized = false;
  bool easyDrag = true;
  bool keepOnTop = false;
  std::u16string middleClick = u"Close";
  std::u16string language;

 private:
  bool hasPosition_ = false;
};

}  // namespace s::gui::testing
