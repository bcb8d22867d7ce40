#pragma once
// The worker thread. Its system thread waits on a condition variable while idle
// (costing nothing), so a start can never be lost between the worker's "no work
// left" and its going to sleep: both happen under the control lock.
//
// Priorities are Windows' relative thread priorities (0 normal, -1 below normal,
// -2 lowest, 1 above normal, 2 highest). On Linux they map to the thread's nice
// value (5 per step, lower priority = higher nice); raising it above normal needs
// privileges and is otherwise ignored.
#include <atomic>
#include <cstdint>

#include "s/thread/ConditionVariable.h"
#include "s/thread/IThread.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Pool.h"

namespace s::thread::win {

class ThreadBase : public IThread {};

class Thread final : public PooledObject<Thread, ThreadBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_thread_win_Thread";

  Thread();
  ~Thread() override;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  void reset() override;
  // Runs the run function (the thread object used as a task).
  void run() override;

  bool start(ITask* task) override { return startWith(task, 1, kPacingNone, 0); }
  bool startTimes(ITask* task, int count) override { return startWith(task, count, kPacingNone, 0); }
  bool startTimesWithPause(ITask* task, int count, int pauseMs) override {
    return startWith(task, count, kPacingPause, pauseMs);
  }
  bool startTimesAtPeriod(ITask* task, int count, int periodMs) override {
    return startWith(task, count, kPacingPeriod, periodMs);
  }
  bool startForever(ITask* task) override { return startWith(task, kEndless, kPacingNone, 0); }
  bool startForeverWithPause(ITask* task, int pauseMs) override {
    return startWith(task, kEndless, kPacingPause, pauseMs);
  }
  bool startForeverAtPeriod(ITask* task, int periodMs) override {
    return startWith(task, kEndless, kPacingPeriod, periodMs);
  }

  bool isIdle() const override { return control_.idle.load() != 0; }
  void waitIdle() override;
  // Never terminates the thread by force (that could leave a heap or pool lock held):
  // waits up to timeoutMs and answers whether the worker went idle.
  bool waitIdleOrRestart(int timeoutMs) override;
  void cancel() override;
  void cancelAndWait() override;
  void join() override;
  void requestStop() override;
  void stop() override;
  void sleepOnce(int milliseconds) override;
  void resume() override;
  // A worker suspends only itself, when idle; suspending it from outside could stop it
  // while it holds a lock, so this does nothing.
  void suspend() override {}
  int getPriority() const override;
  bool setPriority(int priority) override;
  void setRunFunction(RunFunction function) override { runFunction_ = std::move(function); }

  bool hasSystemThread() const { return handle_ != 0; }
  bool isFinished() const { return control_.finished.load() != 0; }

  static constexpr int kEndless = -1;
  static constexpr int kPacingNone = 0;
  static constexpr int kPacingPause = 1;
  static constexpr int kPacingPeriod = 2;

  // What the worker and its owner share; guarded by lock, except the flags, which
  // are polled without it.
  struct Control {
    ObjLocker lock;
    ConditionVariable wake;  // signalled on every change of work, flags or requests
    int sleepRequestMs = 0;
    ITask* task = nullptr;
    int runsLeft = 0;
    int pacingMode = kPacingNone;
    int intervalMs = 0;
    std::atomic<uint8_t> looping{0};
    std::atomic<uint8_t> idle{1};
    std::atomic<uint8_t> stop{0};
    std::atomic<uint8_t> finished{0};
    int64_t nativeId = 0;  // the system's id of the thread, published when it starts
  };

  // The worker's loop; the system thread runs it with the worker's control block.
  static void routine(Control* control);

 private:
  bool startWith(ITask* task, int count, int pacingMode, int intervalMs);
  static void waitWhileIdle(Control* control);

  // The platform half (Thread_win.cpp, Thread_posix.cpp).
  bool createSystemThread();
  void joinSystemThread();
  bool setSystemPriority(int priority);
  int systemPriority() const;

  uintptr_t handle_ = 0;
  Control control_;
  int priority_ = 0;
  RunFunction runFunction_;
};

}  // namespace s::thread::win
