#pragma once
#include <functional>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/ITask.h"

namespace s::thread {

// A reusable worker: one system thread that waits idle until it is given a task, runs
// it once, a number of times or endlessly (optionally paced), and goes idle again.
class IThread : public base::IObject, public IPoolable, public ITask {
 public:
  using RunFunction = std::function<void()>;

  // The start variants answer false when the worker has no system thread (it could
  // not be created): the task will never run, and the worker stays idle.
  virtual bool start(ITask* task) = 0;
  virtual bool startTimes(ITask* task, int count) = 0;
  virtual bool startTimesWithPause(ITask* task, int count, int pauseMs) = 0;
  virtual bool startTimesAtPeriod(ITask* task, int count, int periodMs) = 0;
  virtual bool startForever(ITask* task) = 0;
  virtual bool startForeverWithPause(ITask* task, int pauseMs) = 0;
  virtual bool startForeverAtPeriod(ITask* task, int periodMs) = 0;
  virtual bool isIdle() const = 0;
  virtual void waitIdle() = 0;
  // Waits up to timeoutMs for the worker to go idle; answers whether it did.
  virtual bool waitIdleOrRestart(int timeoutMs) = 0;
  virtual void cancel() = 0;
  virtual void cancelAndWait() = 0;
  virtual void join() = 0;
  virtual void requestStop() = 0;
  virtual void stop() = 0;
  virtual void sleepOnce(int milliseconds) = 0;
  virtual void resume() = 0;
  virtual void suspend() = 0;
  virtual int getPriority() const = 0;
  virtual bool setPriority(int priority) = 0;
  virtual void setRunFunction(RunFunction function) = 0;
};

}  // namespace s::thread
