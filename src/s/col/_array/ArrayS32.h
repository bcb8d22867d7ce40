#pragma once
// An array of signed 32-bit integers.
#include <cstdint>

#include "s/col/_array/ArrayOf.h"
#include "s/comp/CompS32.h"
#include "s/thread/Pool.h"

namespace s::col::_array {

class ArrayS32 final : public thread::PooledObject<ArrayS32, ArrayOf<int32_t>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col__array_ArrayS32";
  const base::IComparator* getComparator() const override { return &comp::CompS32::instance(); }
};

}  // namespace s::col::_array
