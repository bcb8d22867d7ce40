#include "s/image/bmp/win/KeptBlocks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

using s::image::bmp::win::KeptBlocks;

// Blocks are plain heap objects; their releases are recorded.
struct Block {
  std::atomic<int> holders{0};
};

std::mutex releasedLock;
std::vector<size_t> released;  // sizes, in order

void releaseBlock(void* block, size_t bytes) {
  delete static_cast<Block*>(block);
  std::lock_guard<std::mutex> lock(releasedLock);
  released.push_back(bytes);
}

std::vector<size_t> takeReleased() {
  std::lock_guard<std::mutex> lock(releasedLock);
  return std::exchange(released, {});
}

TEST(KeptBlocks, KeepsThreeBlocksAndHandsOutOnesLargeEnough) {
  takeReleased();
  {
    KeptBlocks kept(releaseBlock, 1000);
    for (size_t bytes : {10, 20, 30}) kept.give(new Block, bytes);
    EXPECT_EQ(kept.count(), 3);
    size_t size = 0;
    void* block = kept.take(25, &size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(size, 30u);
    EXPECT_EQ(kept.take(40, &size), nullptr);
    kept.give(block, 30);
    kept.give(new Block, 50);  // full: the 50 takes the place of a smaller one
    kept.give(new Block, 5);   // smaller than every kept one: goes back itself
    const std::vector<size_t> gone = takeReleased();
    ASSERT_EQ(gone.size(), 2u);
    EXPECT_LT(gone[0], 30u);
    EXPECT_EQ(gone[1], 5u);
    void* largest = kept.take(50, &size);
    ASSERT_NE(largest, nullptr);
    releaseBlock(largest, size);
  }
  EXPECT_EQ(takeReleased().size(), 1u + 2u) << "the two still kept go back with the store";
}

TEST(KeptBlocks, KeepsNoMoreThanItsByteLimit) {
  takeReleased();
  KeptBlocks kept(releaseBlock, 100);
  kept.give(new Block, 60);
  kept.give(new Block, 60);
  EXPECT_EQ(kept.count(), 1);
  EXPECT_EQ(takeReleased(), std::vector<size_t>{60});
}

TEST(KeptBlocks, ThreadsNeverGetTheSameBlockAtOnce) {
  takeReleased();
  std::atomic<int> made{0};
  {
    KeptBlocks kept(releaseBlock, 1 << 20);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([&] {
        for (int i = 0; i < 2000; ++i) {
          size_t size = 0;
          auto* block = static_cast<Block*>(kept.take(64, &size));
          if (!block) {
            block = new Block;
            size = 64 + static_cast<size_t>(i % 3);
            ++made;
          }
          EXPECT_EQ(block->holders.fetch_add(1), 0) << "a block handed out twice";
          block->holders.fetch_sub(1);
          kept.give(block, size);
        }
      });
    }
    for (std::thread& thread : threads) thread.join();
  }
  EXPECT_EQ(static_cast<int>(takeReleased().size()), made.load()) << "every block went back exactly once";
}

}  // namespace
