#include "s/gui/win/UIThread.h"

#include <system_error>

#include "s/base/Log.h"
#include "s/thread/Clock.h"

namespace s::gui::win {

namespace {

constexpr int kStepMs = 10;

}  // namespace

UIThread::~UIThread() {
  if (thread_.joinable()) thread_.detach();
}

bool UIThread::start(std::function<void()> routine, int timeoutMs) {
  if (state_.load() != kIdle) return false;
  state_ = kStarting;
  try {
    thread_ = std::thread([this, routine = std::move(routine)] {
      id_ = std::this_thread::get_id();
      routine();
      state_ = kEnded;
    });
  } catch (const std::system_error&) {
    state_ = kIdle;
    return false;
  }
  const int64_t deadline = thread::clockMs() + timeoutMs;
  while (state_.load() == kStarting && thread::clockMs() < deadline) thread::sleepMs(kStepMs);
  uint8_t starting = kStarting;
  if (state_.compare_exchange_strong(starting, kAbandoned)) {
    base::logWarning("a window's user-interface thread did not start in time; the window stays without one");
    thread_.detach();
    return false;
  }
  // It may have run and ended already.
  return reported_.load();
}

bool UIThread::markRunning() {
  // Noted first: start() reads it once the state has left kStarting.
  reported_ = true;
  uint8_t starting = kStarting;
  return state_.compare_exchange_strong(starting, kRunning);
}

bool UIThread::end(const std::function<void()>& postQuit, int timeoutMs) {
  if (state_.load() == kIdle) return true;  // never started
  if (isCurrent()) {
    // A window released from its own thread: the loop ends once this message has
    // been handled, but the thread goes on using the window until then.
    postQuit();
    base::logWarning("a window was released from its own thread; it is left to its thread");
    if (thread_.joinable()) thread_.detach();
    return false;
  }
  // An abandoned thread gives up by itself once it comes up; a running one is asked.
  const int64_t deadline = thread::clockMs() + timeoutMs;
  while (state_.load() != kEnded && thread::clockMs() < deadline) {
    if (state_.load() == kRunning) postQuit();
    thread::sleepMs(kStepMs);
  }
  if (state_.load() != kEnded) {
    base::logWarning("a window's user-interface thread did not end in time; it is left running");
    if (thread_.joinable()) thread_.detach();
    return false;
  }
  if (thread_.joinable()) thread_.join();
  return true;
}

}  // namespace s::gui::win
