#pragma once
// An array of unsigned bytes; also the byte buffer that carries file contents to
// codecs and streams.
#include <cstdint>

#include "s/col/_array/ArrayOf.h"
#include "s/comp/CompU08.h"
#include "s/thread/Pool.h"

namespace s::col::_array {

class ArrayU08 final : public thread::PooledObject<ArrayU08, ArrayOf<uint8_t>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col__array_ArrayU08";
  const base::IComparator* getComparator() const override { return &comp::CompU08::instance(); }
};

}  // namespace s::col::_array
