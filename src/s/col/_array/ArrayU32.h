#pragma once
// An array of unsigned 32-bit integers.
#include <cstdint>

#include "s/col/_array/ArrayOf.h"
#include "s/comp/CompU32.h"
#include "s/thread/Pool.h"

namespace s::col::_array {

class ArrayU32 final : public thread::PooledObject<ArrayU32, ArrayOf<uint32_t>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col__array_ArrayU32";
  const base::IComparator* getComparator() const override { return &comp::CompU32::instance(); }
};

}  // namespace s::col::_array
