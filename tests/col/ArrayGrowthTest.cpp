#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "s/col/Growth.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/thread/Owned.h"

namespace {

using s::col::_array::ArrayS32;
using s::col::_array::ArrayU08;
using s::thread::make;

TEST(Growth, StepAtEveryThreshold) {
  struct Case {
    size_t capacity;
    size_t grown;
  };
  const Case cases[] = {
      {0, 100},
      {99, 100},
      {100, 300},
      {9'999'999, 29'999'997},
      {10'000'000, 20'000'000},
      {49'999'999, 99'999'998},
      {50'000'000, 75'000'000},
      {99'999'999, 149'999'998},  // 1.5 x, truncated
      {100'000'000, 120'000'000},
      {100'000'004, 120'000'004},  // 1.2 x, truncated
      {SIZE_MAX - 1, SIZE_MAX},    // saturates instead of wrapping
  };
  for (const Case& c : cases) EXPECT_EQ(s::col::growthStep(c.capacity), c.grown) << c.capacity;
}

TEST(ArrayGrowth, SingleAppendsGrowOneStepWhenFull) {
  // (elements appended one by one, capacity afterwards)
  const std::vector<std::pair<int, size_t>> expectations = {{1, 100}, {100, 100}, {101, 300}, {300, 300}, {301, 900}};
  auto array = make<ArrayS32>();
  int appended = 0;
  for (const auto& [count, capacity] : expectations) {
    while (appended < count) array->append(appended++);
    EXPECT_EQ(array->capacity(), capacity) << count;
  }
  for (int i = 0; i < appended; ++i) ASSERT_EQ(array->get(i), i);
  // prepend and insert of one element take the same path.
  auto front = make<ArrayS32>();
  for (int i = 0; i < 101; ++i) front->prepend(i);
  EXPECT_EQ(front->capacity(), 300u);
  EXPECT_EQ(front->get(0), 100);
}

TEST(ArrayGrowth, BlocksGrowByRepeatedSteps) {
  const int32_t block[250] = {};
  auto array = make<ArrayS32>();
  array->append(block, 250, 0);  // 0 -> 100 -> 300
  EXPECT_EQ(array->capacity(), 300u);
  array->append(block, 250, 0);  // 500 needs 900
  EXPECT_EQ(array->capacity(), 900u);
  EXPECT_EQ(array->getCount(), 500u);
}

TEST(ArrayGrowth, SetCountAndWriteRawGrowExactly) {
  auto array = make<ArrayS32>();
  array->setCount(150);
  EXPECT_EQ(array->capacity(), 150u);
  array->setCount(120);  // shrinking keeps the block
  EXPECT_EQ(array->capacity(), 150u);
  EXPECT_EQ(array->getCount(), 120u);

  auto raw = make<ArrayS32>();
  const int32_t values[3] = {7, 8, 9};
  raw->writeRaw(values, 3, 0, 0);
  EXPECT_EQ(raw->capacity(), 3u);
  raw->writeRaw(values, 2, 1, 10);  // 8, 9 at 10: needs exactly 12
  EXPECT_EQ(raw->capacity(), 12u);
  EXPECT_EQ(raw->getCount(), 12u);
}

TEST(ArrayGrowth, NewElementsAreZero) {
  auto array = make<ArrayS32>();
  for (int i = 0; i < 50; ++i) array->append(-1);
  array->clear();  // keeps the block with its old contents
  array->setCount(40);
  for (size_t i = 0; i < 40; ++i) ASSERT_EQ(array->get(i), 0) << i;

  // A write past the count zero-fills the elements in between.
  const int32_t five = 5;
  array->writeRaw(&five, 1, 0, 45);
  EXPECT_EQ(array->getCount(), 46u);
  for (size_t i = 40; i < 45; ++i) ASSERT_EQ(array->get(i), 0) << i;
  EXPECT_EQ(array->get(45), 5);
}

#if GTEST_HAS_DEATH_TEST
// Sizes that cannot be represented end the process like an exhausted heap, instead
// of wrapping into a small block that later writes would overrun.
TEST(ArrayGrowthDeathTest, UnrepresentableSizesAreRefused) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(make<ArrayS32>()->setCount(SIZE_MAX / 2), "out of memory");
  EXPECT_DEATH(
      {
        auto array = make<ArrayS32>();
        const int32_t values[4] = {};
        array->writeRaw(values, 4, 0, SIZE_MAX - 1);
      },
      "out of memory");
  EXPECT_DEATH(
      {
        // position + length past SIZE_MAX
        auto array = make<ArrayS32>();
        array->seek(INT64_MAX);
        array->moveBy(INT64_MAX);
        array->write("abcdefgh", 8, nullptr);
      },
      "out of memory");
  EXPECT_DEATH(
      {
        auto array = make<ArrayU08>();
        const uint8_t byte = 1;
        array->writeRaw(&byte, 1, 0, 0);
        array->insert(0, &byte, SIZE_MAX, 0);
      },
      "out of memory");
}
#endif

}  // namespace
