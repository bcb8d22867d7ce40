#include "s/image/gif/win/GifRowOrder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using s::image::gif::win::GifRowOrder;

std::vector<int> rowsOf(int height, bool interlaced) {
  std::vector<int> rows;
  for (GifRowOrder order(height, interlaced); !order.done(); order.advance()) rows.push_back(order.row());
  return rows;
}

TEST(GifRowOrder, InterlacedPassesSkipRowsOutsideTheFrame) {
  struct Case {
    int height;
    std::vector<int> rows;
  };
  const Case cases[] = {
      {1, {0}},
      {2, {0, 1}},
      {3, {0, 2, 1}},
      {4, {0, 2, 1, 3}},
      {5, {0, 4, 2, 1, 3}},
      {8, {0, 4, 2, 6, 1, 3, 5, 7}},
      {10, {0, 8, 4, 2, 6, 1, 3, 5, 7, 9}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(rowsOf(c.height, true), c.rows) << "height " << c.height;
  }
}

TEST(GifRowOrder, EveryRowExactlyOnceAndRowAtAgrees) {
  for (bool interlaced : {false, true}) {
    for (int height = 0; height <= 70; ++height) {
      std::vector<int> rows = rowsOf(height, interlaced);
      ASSERT_EQ(static_cast<int>(rows.size()), height);
      std::vector<int> seen(static_cast<size_t>(height), 0);
      for (size_t i = 0; i < rows.size(); ++i) {
        ASSERT_GE(rows[i], 0);
        ASSERT_LT(rows[i], height);
        ++seen[static_cast<size_t>(rows[i])];
        EXPECT_EQ(GifRowOrder::rowAt(static_cast<int>(i), height, interlaced), rows[i]);
        if (!interlaced) {
          EXPECT_EQ(rows[i], static_cast<int>(i));
        }
      }
      for (int count : seen) EXPECT_EQ(count, 1);
      EXPECT_EQ(GifRowOrder::rowAt(height, height, interlaced), -1);
      EXPECT_EQ(GifRowOrder::rowAt(-1, height, interlaced), -1);
    }
  }
}

}  // namespace
