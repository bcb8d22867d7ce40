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

// Ticket 0, on this thread, holds `held` bytes of a budget of `limit`; ticket 1, on
// another thread, waits for `wanted` bytes.
struct Crowded {
  PixelBudget budget;
  PixelBudget::Scope lowest;
  RasterMemory first;
  RasterMemory second;  // ticket 1's
  std::atomic<bool> charged{false};
  std::thread higher;

  Crowded(size_t limit, size_t held, size_t wanted) : budget(limit), lowest(budget, 0) {
    EXPECT_TRUE(first.create(held, false));
    higher = std::thread([this, wanted] {
      PixelBudget::Scope scope(budget, 1);
      charged = second.create(wanted, false);
    });
    EXPECT_TRUE(eventually([&] { return budget.waiting() == 1; }));
  }
  ~Crowded() {
    if (higher.joinable()) higher.join();
  }
};

TEST(PixelBudget, AHigherTicketWaitsForRoomAndTheLowestNeverWaits) {
  Crowded crowded(1000, 800, 500);
  EXPECT_FALSE(crowded.charged);
  // The lowest ticket goes past the limit rather than wait for the higher one.
  RasterMemory third;
  ASSERT_TRUE(third.create(400, false));
  EXPECT_EQ(crowded.budget.inFlight(), 1200u);
  third.destroy();
  EXPECT_FALSE(crowded.charged) << "800 in flight leave no room for 500";
  crowded.first.destroy();
  crowded.higher.join();
  EXPECT_TRUE(crowded.charged);
  EXPECT_EQ(crowded.budget.inFlight(), 500u);
  EXPECT_EQ(crowded.budget.peak(), 1200u) << "the waiting charge never came on top";
}

TEST(PixelBudget, AStoppedBudgetRefusesWaitingAndLaterCharges) {
  Crowded crowded(100, 100, 50);
  crowded.budget.stop();
  crowded.higher.join();
  EXPECT_FALSE(crowded.charged);
  EXPECT_EQ(crowded.second.bits(), nullptr);
  RasterMemory later;
  EXPECT_FALSE(later.create(10, false));
  crowded.first.destroy();
  EXPECT_EQ(crowded.budget.inFlight(), 0u);
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

}  // namespace
