#include "s/image/bmp/win/PixelBudget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "s/image/bmp/win/RasterMemory.h"

namespace {

using s::image::bmp::win::PixelBudget;
using s::image::bmp::win::RasterMemory;

// Waits until condition holds, for at most ten seconds.
bool eventually(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::yield();
  }
  return true;
}

TEST(PixelBudget, RastersCountFromCreationToDestructionOnAnyThread) {
  PixelBudget budget(1000);
  auto raster = std::make_unique<RasterMemory>();
  {
    PixelBudget::Scope scope(budget, 0);
    ASSERT_TRUE(raster->create(600, true));
    RasterMemory brief;
    ASSERT_TRUE(brief.create(300, false));
    EXPECT_EQ(budget.inFlight(), 900u);
  }
  EXPECT_EQ(budget.inFlight(), 600u) << "the raster outlives the scope";
  std::thread([&] { raster.reset(); }).join();
  EXPECT_EQ(budget.inFlight(), 0u);
  RasterMemory unscoped;
  ASSERT_TRUE(unscoped.create(600, true));
  EXPECT_EQ(budget.inFlight(), 0u) << "rasters made outside a scope are not charged";
  EXPECT_EQ(budget.peak(), 900u);
}

TEST(PixelBudget, AHigherTicketWaitsForRoomAndTheLowestNeverWaits) {
  PixelBudget budget(1000);
  PixelBudget::Scope lowest(budget, 0);
  RasterMemory first;
  ASSERT_TRUE(first.create(800, false));
  RasterMemory second;
  std::atomic<bool> charged{false};
  std::thread higher([&] {
    PixelBudget::Scope scope(budget, 1);
    charged = second.create(500, false);
  });
  ASSERT_TRUE(eventually([&] { return budget.waiting() == 1; }));
  EXPECT_FALSE(charged);
  // The lowest ticket goes past the limit rather than wait for the higher one.
  RasterMemory third;
  ASSERT_TRUE(third.create(400, false));
  EXPECT_EQ(budget.inFlight(), 1200u);
  first.destroy();
  EXPECT_FALSE(charged) << "700 in flight leave no room for 500";
  third.destroy();
  higher.join();
  EXPECT_TRUE(charged);
  EXPECT_EQ(budget.inFlight(), 500u);
  EXPECT_EQ(budget.peak(), 1200u) << "the waiting charge never came on top";
}

TEST(PixelBudget, AClosedScopeMakesTheNextTicketTheLowest) {
  PixelBudget budget(100);
  RasterMemory kept;
  std::thread([&] {
    PixelBudget::Scope scope(budget, 0);
    ASSERT_TRUE(kept.create(100, false));
  }).join();
  PixelBudget::Scope next(budget, 1);
  RasterMemory more;
  EXPECT_TRUE(more.create(50, false)) << "ticket 1 is alone now and may pass the limit";
  EXPECT_EQ(budget.inFlight(), 150u);
}

TEST(PixelBudget, AStoppedBudgetRefusesWaitingAndLaterCharges) {
  PixelBudget budget(100);
  PixelBudget::Scope lowest(budget, 0);
  RasterMemory held;
  ASSERT_TRUE(held.create(100, false));
  std::atomic<bool> refused{false};
  std::thread higher([&] {
    PixelBudget::Scope scope(budget, 1);
    RasterMemory wanted;
    refused = !wanted.create(50, false) && wanted.bits() == nullptr;
  });
  ASSERT_TRUE(eventually([&] { return budget.waiting() == 1; }));
  budget.stop();
  higher.join();
  EXPECT_TRUE(refused);
  RasterMemory later;
  EXPECT_FALSE(later.create(10, false));
  held.destroy();
  EXPECT_EQ(budget.inFlight(), 0u);
}

}  // namespace
