#include <gtest/gtest.h>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayS08.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/thread/Owned.h"

TEST(ArrayS32, AppendAndGet) {
  auto a = s::thread::make<s::col::_array::ArrayS32>();
  a->append(5);
  a->append(-3);
  a->sort();
  EXPECT_EQ(a->get(0), -3);
}
