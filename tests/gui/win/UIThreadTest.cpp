// The window thread's start and end: both waits are bounded, and a thread that is late
// or will not end is left to finish by itself, never stopped from outside.
#include "s/gui/win/UIThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "WindowTesting.h"

namespace s::gui::win {
namespace {

using testing::waitFor;

TEST(UIThread, StartsAndEndsWhenAskedToQuit) {
  UIThread ui;
  std::atomic<bool> quit{false};
  ASSERT_TRUE(ui.start([&] {
    if (!ui.markRunning()) return;
    while (!quit) thread::sleepMs(1);  // the message loop
  }));
  EXPECT_TRUE(ui.isRunning());
  EXPECT_FALSE(ui.isCurrent());
  EXPECT_TRUE(ui.end([&] { quit = true; }));
  EXPECT_FALSE(ui.isRunning());
  // Ended is ended: a second start is refused.
  EXPECT_FALSE(ui.start([] {}));
}

TEST(UIThread, AThreadLateToReportIsAbandonedAndGivesUpByItself) {
  UIThread ui;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<int> reported{-1};
  EXPECT_FALSE(ui.start(
      [&, released] {
        released.wait();
        reported = ui.markRunning() ? 1 : 0;
      },
      30));
  EXPECT_EQ(reported, -1);  // start gave up while the thread was still on its way
  release.set_value();
  ASSERT_TRUE(waitFor([&] { return reported != -1; }));
  EXPECT_EQ(reported, 0);  // told to give up: it never runs a loop
  EXPECT_TRUE(ui.end([] {}));
}

TEST(UIThread, AThreadThatWillNotEndIsLeftRunningNotStopped) {
  UIThread ui;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> finished{false};
  ASSERT_TRUE(ui.start([&, released] {
    ui.markRunning();
    released.wait();  // deaf to quit requests, as a thread stuck in a listener
    finished = true;
  }));
  std::atomic<int> quitRequests{0};
  EXPECT_FALSE(ui.end([&] { ++quitRequests; }, 50));
  EXPECT_GE(quitRequests, 1);
  EXPECT_FALSE(finished);
  // Left alone, it goes on and ends normally.
  release.set_value();
  EXPECT_TRUE(waitFor([&] { return finished && !ui.isRunning(); }));
}

TEST(UIThread, EndingFromTheThreadItselfOnlyAsksItToQuit) {
  UIThread ui;
  std::atomic<bool> quit{false}, answer{true}, done{false};
  ASSERT_TRUE(ui.start([&] {
    ui.markRunning();
    answer = ui.end([&] { quit = true; });
    done = true;
  }));
  ASSERT_TRUE(waitFor([&] { return done.load(); }));
  EXPECT_TRUE(quit);
  EXPECT_FALSE(answer);
  EXPECT_TRUE(waitFor([&] { return !ui.isRunning(); }));
}

}  // namespace
}  // namespace s::gui::win
