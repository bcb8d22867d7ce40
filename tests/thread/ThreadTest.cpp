#include "s/thread/win/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "s/thread/Clock.h"
#include "s/thread/Owned.h"

namespace {

using s::thread::clockMs;
using s::thread::sleepMs;
using s::thread::win::Thread;

constexpr int kTickMs = 20;

// Counts its runs and records when each started.
class CountingTask final : public s::thread::ITask {
 public:
  explicit CountingTask(int workMs = 0) : workMs_(workMs) {}
  void run() override {
    starts.push_back(clockMs());
    ++runs;
    sleepMs(workMs_);
  }
  std::atomic<int> runs{0};
  std::vector<int64_t> starts;

 private:
  int workMs_;
};

// Blocks until released.
class BlockingTask final : public s::thread::ITask {
 public:
  void run() override {
    entered = true;
    while (!released) sleepMs(1);
    finished = true;
  }
  std::atomic<bool> entered{false}, released{false}, finished{false};
};

TEST(Thread, StartRunsOnceAndGoesIdle) {
  auto worker = s::thread::make<Thread>();
  ASSERT_TRUE(worker->hasSystemThread());
  EXPECT_TRUE(worker->isIdle());
  CountingTask task;
  ASSERT_TRUE(worker->start(&task));
  worker->waitIdle();
  EXPECT_EQ(task.runs, 1);
  EXPECT_TRUE(worker->isIdle());
  ASSERT_TRUE(worker->startTimes(&task, 3));
  worker->waitIdle();
  EXPECT_EQ(task.runs, 4);
}

TEST(Thread, PacingSeparatesRuns) {
  auto worker = s::thread::make<Thread>();
  CountingTask paused;
  const int64_t begin = clockMs();
  worker->startTimesWithPause(&paused, 3, 50);
  worker->waitIdle();
  // The clock ticks coarsely on Windows (10-16 ms), hence the tolerance.
  ASSERT_EQ(paused.runs, 3);
  EXPECT_GE(paused.starts[1] - paused.starts[0], 50 - kTickMs);
  EXPECT_GE(paused.starts[2] - paused.starts[1], 50 - kTickMs);
  EXPECT_GE(clockMs() - begin, 100 - kTickMs);  // two pauses, none after the last run

  CountingTask periodic(30);
  worker->startTimesAtPeriod(&periodic, 2, 100);
  worker->waitIdle();
  ASSERT_EQ(periodic.runs, 2);
  EXPECT_GE(periodic.starts[1] - periodic.starts[0], 100 - kTickMs);
}

TEST(Thread, CancelLetsTheCurrentRunFinish) {
  auto worker = s::thread::make<Thread>();
  CountingTask task(5);
  worker->startForever(&task);
  while (task.runs < 3) sleepMs(1);
  worker->cancelAndWait();
  const int runs = task.runs;
  EXPECT_TRUE(worker->isIdle());
  sleepMs(30);
  EXPECT_EQ(task.runs, runs) << "no run after cancel";
}

TEST(Thread, WaitIdleOrRestartTimesOutWithoutKillingTheTask) {
  auto worker = s::thread::make<Thread>();
  BlockingTask task;
  worker->start(&task);
  while (!task.entered) sleepMs(1);
  const int64_t begin = clockMs();
  EXPECT_FALSE(worker->waitIdleOrRestart(200));
  EXPECT_GE(clockMs() - begin, 200 - kTickMs);
  task.released = true;
  EXPECT_TRUE(worker->waitIdleOrRestart(5000));
  EXPECT_TRUE(task.finished);
}

TEST(Thread, ReleasingABusyWorkerWaitsForTheRun) {
  Thread* worker = Thread::create();
  BlockingTask task;
  worker->start(&task);
  while (!task.entered) sleepMs(1);
  std::atomic<bool> releasedWorker{false};
  Thread* releaser = Thread::create();
  releaser->setRunFunction([&] {
    worker->release();
    releasedWorker = true;
  });
  releaser->start(releaser);
  sleepMs(50);
  EXPECT_FALSE(releasedWorker) << "release returned while the task still ran";
  task.released = true;
  releaser->waitIdle();
  EXPECT_TRUE(releasedWorker);
  EXPECT_TRUE(task.finished);
  releaser->release();
}

TEST(Thread, NoStartIsLostUnderRapidRestarts) {
  // A start that arrives while the worker is between "no work left" and going to
  // sleep must still run: thousands of back-to-back starts, each waited for.
  auto worker = s::thread::make<Thread>();
  CountingTask task;
  for (int i = 0; i < 3000; ++i) {
    ASSERT_TRUE(worker->start(&task));
    worker->waitIdle();
  }
  EXPECT_EQ(task.runs, 3000);
}

TEST(Thread, SleepRequestAndStop) {
  Thread worker;
  worker.sleepOnce(30);
  CountingTask task;
  const int64_t begin = clockMs();
  worker.start(&task);  // a start clears a pending sleep request
  worker.waitIdle();
  EXPECT_EQ(task.runs, 1);
  EXPECT_LT(clockMs() - begin, 10000);
  worker.stop();
  EXPECT_TRUE(worker.isFinished());
}

TEST(Thread, BelowNormalPriority) {
  auto worker = s::thread::make<Thread>();
  EXPECT_TRUE(worker->setPriority(-1));
  EXPECT_EQ(worker->getPriority(), -1);
  CountingTask task;
  worker->start(&task);
  worker->waitIdle();
  EXPECT_EQ(task.runs, 1);
}

}  // namespace
