#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU32.h"
#include "s/comp/CompS32.h"
#include "s/comp/MergeSort.h"
#include "s/thread/Owned.h"

namespace {

using s::comp::mergeSort;
using s::comp::mergeSortDescending;

// Elements carry a key in the high half and their original position in the low
// half; only keys are compared, so the positions reveal stability.
uint64_t element(uint32_t key, uint32_t tag) { return (uint64_t{key} << 32) | tag; }
int byKey(const uint64_t& a, const uint64_t& b) {
  const uint32_t ka = static_cast<uint32_t>(a >> 32);
  const uint32_t kb = static_cast<uint32_t>(b >> 32);
  return ka < kb ? -1 : (ka > kb ? 1 : 0);
}

TEST(MergeSort, EqualKeysKeepTheirOrder) {
  // [3, 1, 2, 1'] -> [1, 1', 2, 3]
  std::vector<uint64_t> values = {element(3, 0), element(1, 1), element(2, 2), element(1, 3)};
  mergeSort(values.data(), values.size(), byKey);
  EXPECT_EQ(values, (std::vector<uint64_t>{element(1, 1), element(1, 3), element(2, 2), element(3, 0)}));
  mergeSortDescending(values.data(), values.size(), byKey);
  EXPECT_EQ(values, (std::vector<uint64_t>{element(3, 0), element(2, 2), element(1, 1), element(1, 3)}));
}

// Random arrays of every small length and some large ones, with few distinct keys
// so that ties are everywhere; both directions against std::stable_sort.
TEST(MergeSort, MatchesStableSortInBothDirections) {
  std::mt19937 random(12345);
  std::vector<size_t> lengths;
  for (size_t n = 0; n <= 70; ++n) lengths.push_back(n);
  for (size_t n : {127, 128, 129, 1000, 4099}) lengths.push_back(n);
  for (size_t n : lengths) {
    for (uint32_t keyRange : {2u, 10u, 1000u}) {
      std::vector<uint64_t> values(n);
      for (size_t i = 0; i < n; ++i) values[i] = element(random() % keyRange, static_cast<uint32_t>(i));

      std::vector<uint64_t> ascending = values;
      std::vector<uint64_t> expected = values;
      mergeSort(ascending.data(), n, byKey);
      std::stable_sort(expected.begin(), expected.end(),
                       [](uint64_t a, uint64_t b) { return byKey(a, b) < 0; });
      ASSERT_EQ(ascending, expected) << "ascending, n=" << n;

      std::vector<uint64_t> descending = values;
      expected = values;
      mergeSortDescending(descending.data(), n, byKey);
      std::stable_sort(expected.begin(), expected.end(),
                       [](uint64_t a, uint64_t b) { return byKey(a, b) > 0; });
      ASSERT_EQ(descending, expected) << "descending, n=" << n;
    }
  }
}

// Ordered input costs one comparison per element boundary: each insertion-sorted
// run needs length - 1, each merge only its shortcut test.
TEST(MergeSort, OrderedInputTakesTheShortcut) {
  for (size_t n : {6, 7, 100, 1000}) {
    std::vector<uint32_t> values(n);
    for (size_t i = 0; i < n; ++i) values[i] = static_cast<uint32_t>(i);
    size_t comparisons = 0;
    mergeSort(values.data(), n, [&comparisons](uint32_t a, uint32_t b) {
      ++comparisons;
      return a < b ? -1 : (a > b ? 1 : 0);
    });
    EXPECT_EQ(comparisons, n - 1) << n;
  }
}

TEST(MergeSort, ArraysSortWithTheirComparator) {
  auto signedArray = s::thread::make<s::col::_array::ArrayS32>();
  auto unsignedArray = s::thread::make<s::col::_array::ArrayU32>();
  for (int32_t v : {5, -1, 3, -7, 0, 2, 9, -3}) {
    signedArray->append(v);
    unsignedArray->append(static_cast<uint32_t>(v));
  }
  signedArray->sort();
  EXPECT_EQ(signedArray->get(0), -7);
  EXPECT_EQ(signedArray->get(7), 9);
  signedArray->sort(true);
  EXPECT_EQ(signedArray->get(0), 9);
  EXPECT_EQ(signedArray->get(7), -7);
  unsignedArray->sort();  // the negative values are the largest unsigned ones
  EXPECT_EQ(unsignedArray->get(0), 0u);
  EXPECT_EQ(unsignedArray->get(7), static_cast<uint32_t>(-1));
  unsignedArray->sort(s::comp::CompS32::instance());  // any comparator of the width
  EXPECT_EQ(unsignedArray->get(0), static_cast<uint32_t>(-7));
}

}  // namespace
