#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "s/thread/EasyPooler.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"
#include "s/thread/PoolerBase.h"

namespace {

using s::thread::EasyPooler;

// A poolable class that counts constructions and destructions and remembers
// whether it has been reset.
struct Counters {
  int created = 0;
  int destroyed = 0;
  int resets = 0;
};
Counters counters;

class ProbeBase : public s::base::IObject, public s::thread::IPoolable {};

class Probe final : public s::thread::PooledObject<Probe, ProbeBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_test_Probe";
  Probe() { ++counters.created; }
  ~Probe() override { ++counters.destroyed; }
  void reset() override {
    value = 0;
    ++counters.resets;
  }
  int value = 0;
};

// A pool of its own so each test starts from nothing.
EasyPooler makeProbePool() {
  return EasyPooler([]() -> void* { return new Probe(); }, [](void* p) { delete static_cast<Probe*>(p); },
                    [](void* p) { static_cast<Probe*>(p)->reset(); });
}

TEST(EasyPooler, KeepsAtMostCapacityAndDestroysTheRest) {
  counters = {};
  {
    EasyPooler pool = makeProbePool();
    std::vector<void*> taken;
    for (int i = 0; i < 1001; ++i) taken.push_back(pool.take());
    EXPECT_EQ(counters.created, 1001);
    for (void* p : taken) pool.giveBack(p);
    EXPECT_EQ(pool.idleCount(), 1000);
    EXPECT_EQ(counters.destroyed, 1);  // the 1001st
    // The destroyed one was reset too: a reset gives back what an object holds.
    EXPECT_EQ(counters.resets, 1001);
  }
  // Destroying the pool destroys every idle object.
  EXPECT_EQ(counters.destroyed, 1001);
}

TEST(EasyPooler, LastInFirstOutAndResetOnReturn) {
  EasyPooler pool = makeProbePool();
  auto* a = static_cast<Probe*>(pool.take());
  auto* b = static_cast<Probe*>(pool.take());
  a->value = 1;
  b->value = 2;
  pool.giveBack(a);
  pool.giveBack(b);
  EXPECT_EQ(b->value, 0) << "reset happens when the object enters the pool";
  EXPECT_EQ(pool.take(), b);
  EXPECT_EQ(pool.take(), a);
  delete a;
  delete b;
}

TEST(EasyPooler, DisposeGivesBackAndClearsTheSlot) {
  EasyPooler pool = makeProbePool();
  void* slot = pool.take();
  pool.dispose(&slot);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(pool.idleCount(), 1);
  pool.dispose(&slot);  // an empty slot is left alone
  EXPECT_EQ(pool.idleCount(), 1);
}

TEST(EasyPooler, TwoThreadsTakeAndGiveBackConcurrently) {
  EasyPooler pool = makeProbePool();
  std::atomic<int> mismatches{0};
  auto work = [&](int marker) {
    for (int round = 0; round < 20000; ++round) {
      auto* probe = static_cast<Probe*>(pool.take());
      if (probe->value != 0) ++mismatches;  // someone else's object, or not reset
      probe->value = marker;
      pool.giveBack(probe);
    }
  };
  std::thread first(work, 1);
  std::thread second(work, 2);
  first.join();
  second.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_LE(pool.idleCount(), 2);
}

TEST(ClassPool, CreateReleaseAndNewInstanceUseTheClassPool) {
  Probe* first = Probe::create();
  first->value = 7;
  first->release();
  Probe* again = Probe::create();
  EXPECT_EQ(again, first);
  EXPECT_EQ(again->value, 0);
  s::base::IObject* other = again->newInstance();
  EXPECT_NE(other, again);
  EXPECT_STREQ(reinterpret_cast<const char*>(other->getRegistrationName()),
               reinterpret_cast<const char*>(u"s_test_Probe"));
  static_cast<Probe*>(other)->release();
  again->release();
}

TEST(Owned, ReleasesOnceAndHandsOver) {
  EasyPooler& pool = s::thread::poolOf<Probe>();
  Probe::create()->release();  // at least one idle object, whatever ran before
  const int idleBefore = pool.idleCount();
  {
    auto held = s::thread::make<Probe>();
    held->value = 3;
    auto moved = std::move(held);
    EXPECT_FALSE(held);
    EXPECT_EQ(moved->value, 3);
  }
  EXPECT_EQ(pool.idleCount(), idleBefore) << "taken from the pool and given back once";
  Probe* kept;
  {
    auto held = s::thread::make<Probe>();
    kept = held.detach();
  }
  EXPECT_EQ(pool.idleCount(), idleBefore - 1);
  kept->release();
}

// A size-limited pool of raw blocks whose size is the first int of the block.
class BlockPooler final : public s::thread::PoolerBase {
 public:
  ~BlockPooler() override { destroyIdle(); }
  s::base::IObject* newInstance() const override { return new BlockPooler(); }
  void* generate() override { return new int[1]{0}; }
  int sizeOf(void* object) override { return *static_cast<int*>(object); }
  void resetObject(void*) override { ++resets; }
  void destroyObject(void* object) override {
    ++destroyed;
    delete[] static_cast<int*>(object);
  }
  int resets = 0;
  int destroyed = 0;
};

int* block(int size) { return new int[1]{size}; }

TEST(PoolerBase, WithoutSizeLimitKeepsUpToOneOverCapacity) {
  BlockPooler pool;
  for (int i = 0; i < 1002; ++i) pool.giveBack(block(1));
  EXPECT_EQ(pool.idleCount(), 1001);
  EXPECT_EQ(pool.destroyed, 1);
  EXPECT_EQ(pool.resets, 1001);
}

TEST(PoolerBase, SizeLimitRefusesLargeObjectsAndCapsTheTotal) {
  BlockPooler pool;
  pool.setLimitBySize(true);
  pool.giveBack(block(1025));
  EXPECT_EQ(pool.idleCount(), 0);
  EXPECT_EQ(pool.destroyed, 1);
  for (int i = 0; i < 100; ++i) pool.giveBack(block(1024));  // 102400 bytes: exactly the cap
  EXPECT_EQ(pool.totalSize(), 102400);
  pool.giveBack(block(1));
  EXPECT_EQ(pool.idleCount(), 100);
  EXPECT_EQ(pool.destroyed, 2);
  // Taking subtracts the size again; an explicit size overrides sizeOf.
  void* taken = pool.take();
  EXPECT_EQ(pool.totalSize(), 101376);
  pool.giveBack(taken, 16);
  EXPECT_EQ(pool.totalSize(), 101392);
}

TEST(PoolerBase, TakeFromAnEmptyPoolGenerates) {
  BlockPooler pool;
  void* object = pool.take();
  ASSERT_NE(object, nullptr);
  pool.giveBack(object);
  EXPECT_EQ(pool.take(), object);
  delete[] static_cast<int*>(object);
}

}  // namespace
