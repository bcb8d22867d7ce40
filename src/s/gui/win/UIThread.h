#pragma once
// The user-interface thread of one window. The window starts it when it is made and
// ends it when it is released; the thread runs the window's message loop in between.
//
// Both waits are bounded. start() waits until the thread says it is ready for
// messages; a thread that does not say so in time is abandoned: when it comes up
// later, markRunning() tells it to give up. end() asks the thread to quit every
// 10 ms and waits for it; a thread that has not ended in time is left running
// (detached) with a warning in the log. A thread is never suspended or terminated
// from outside: it might hold a heap, pool or GDI lock, and every later use of that
// lock would hang.
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace s::gui::win {

class UIThread {
 public:
  static constexpr int kStartTimeoutMs = 5000;
  static constexpr int kEndTimeoutMs = 5000;

  UIThread() = default;
  // A thread still running here is left running (see end()).
  ~UIThread();
  UIThread(const UIThread&) = delete;
  UIThread& operator=(const UIThread&) = delete;

  // Starts routine on a new thread and waits, testing every 10 ms, up to timeoutMs
  // for it to call markRunning(). False when the thread could not be made or did not
  // report in time.
  bool start(std::function<void()> routine, int timeoutMs = kStartTimeoutMs);
  // Called by the routine once it is ready for messages. False when start() gave up
  // waiting: the routine should then clean up and return.
  bool markRunning();
  // Ends the thread: calls postQuit every 10 ms while it runs, for at most timeoutMs
  // in all, and waits for it to end. True when it has ended (or never ran); false
  // when it was left running. From the thread itself, quit is only posted, and the
  // answer is false.
  bool end(const std::function<void()>& postQuit, int timeoutMs = kEndTimeoutMs);

  bool isRunning() const { return state_.load() == kRunning; }
  // The calling thread is this one.
  bool isCurrent() const { return id_.load() == std::this_thread::get_id(); }

 private:
  enum State : uint8_t { kIdle, kStarting, kRunning, kAbandoned, kEnded };

  std::thread thread_;
  std::atomic<uint8_t> state_{kIdle};
  std::atomic<bool> reported_{false};  // markRunning() came in time
  std::atomic<std::thread::id> id_{};
};

}  // namespace s::gui::win
