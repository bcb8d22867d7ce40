#include "s/thread/SyncRelay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>


namespace {

using s::thread::RelayRecord;
using s::thread::SyncRelay;

TEST(SyncRelay, SenderWaitsUntilTheReceiverHandledTheRecord) {
  SyncRelay relay;
  std::vector<uintptr_t> seen;
  relay.bindReceiver([&](const RelayRecord& record) {
    seen.push_back(record.values[1]);
    return record.values[1] * 10;
  });
  std::atomic<int> sentAndAnswered{0};
  std::thread sender([&] {
    for (uintptr_t i = 1; i <= 50; ++i) {
      RelayRecord record;
      record.values[1] = i;
      uintptr_t reply = 0;
      ASSERT_TRUE(relay.send(record, &reply));
      ASSERT_EQ(reply, i * 10);
      ++sentAndAnswered;
    }
  });
  while (sentAndAnswered < 50) {
    relay.waitAndPump(20);
    // The sender never runs more than one record ahead of the receiver.
    EXPECT_LE(sentAndAnswered.load(), static_cast<int>(seen.size()));
  }
  sender.join();
  ASSERT_EQ(seen.size(), 50u);
  for (uintptr_t i = 0; i < 50; ++i) EXPECT_EQ(seen[i], i + 1) << "records arrive in order";
}

TEST(SyncRelay, CloseFailsWaitingAndLaterSends) {
  SyncRelay relay;
  std::mutex lock;
  std::condition_variable changed;
  bool queued = false;
  relay.bindReceiver([](const RelayRecord&) { return uintptr_t{1}; }, [&] {
    std::lock_guard<std::mutex> scope(lock);
    queued = true;
    changed.notify_all();
  });
  std::atomic<int> result{-1};
  std::thread sender([&] { result = relay.send(RelayRecord{}) ? 1 : 0; });
  // The receiver goes away without pumping: the waiting sender must be let go.
  {
    std::unique_lock<std::mutex> scope(lock);
    changed.wait(scope, [&] { return queued; });
  }
  relay.close();
  sender.join();
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(relay.send(RelayRecord{}));
}

TEST(SyncRelay, SendFromTheReceivingThreadIsHandledAtOnce) {
  SyncRelay relay;
  int handled = 0;
  relay.bindReceiver([&](const RelayRecord& record) {
    ++handled;
    return record.values[0] + 1;
  });
  RelayRecord record;
  record.values[0] = 41;
  uintptr_t reply = 0;
  EXPECT_TRUE(relay.send(record, &reply));
  EXPECT_EQ(reply, 42u);
  EXPECT_EQ(handled, 1);
}

TEST(SyncRelay, WakerIsCalledForEveryQueuedRecord) {
  SyncRelay relay;
  std::atomic<int> wakes{0};
  relay.bindReceiver([](const RelayRecord&) { return uintptr_t{0}; }, [&] { ++wakes; });
  std::thread sender([&] {
    relay.send(RelayRecord{});
    relay.send(RelayRecord{});
  });
  int handled = 0;
  while (handled < 2) handled += relay.waitAndPump(50);
  sender.join();
  EXPECT_EQ(wakes, 2);
}

TEST(SyncRelay, WakeEndsAWaitWithoutARecordAndIsNotLostBeforeIt) {
  SyncRelay relay;
  relay.bindReceiver([](const RelayRecord&) { return uintptr_t{0}; });
  EXPECT_TRUE(relay.isReceiver());
  bool elsewhere = true;
  std::thread other([&] {
    elsewhere = relay.isReceiver();
    relay.wake();
  });
  // No time limit: only the wake can end this wait, whether it came first or not.
  EXPECT_EQ(relay.waitAndPump(-1), 0);
  other.join();
  EXPECT_FALSE(elsewhere);
}

TEST(SyncRelay, UnboundRelayRefuses) {
  SyncRelay relay;
  EXPECT_FALSE(relay.send(RelayRecord{}));
}

}  // namespace
