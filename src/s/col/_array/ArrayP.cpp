#include "s/col/_array/ArrayP.h"

#include <cstring>

#include "s/comp/CompP.h"

namespace s::col::_array {

ArrayP::~ArrayP() { freeStorage(); }

const base::IComparator* ArrayP::getComparator() const { return &comp::CompP::instance(); }

void ArrayP::reset() {
  freeStorage();
  disposer_ = nullptr;
}

void ArrayP::discard(size_t index, size_t n) {
  if (!disposer_) return;
  void** slots = data();
  for (size_t i = index; i < index + n; ++i) disposer_->dispose(&slots[i]);
}

}  // namespace s::col::_array
