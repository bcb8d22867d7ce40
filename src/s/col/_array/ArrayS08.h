#pragma once
// An array of signed bytes.
#include <cstdint>

#include "s/col/_array/ArrayOf.h"
#include "s/comp/CompS08.h"
#include "s/thread/Pool.h"

namespace s::col::_array {

class ArrayS08 final : public thread::PooledObject<ArrayS08, ArrayOf<int8_t>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col__array_ArrayS08";
  const base::IComparator* getComparator() const override { return &comp::CompS08::instance(); }
};

}  // namespace s::col::_array
