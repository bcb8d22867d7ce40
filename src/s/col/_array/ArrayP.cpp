#include "s/col/_array/ArrayP.h"

#include <cstring>

#include "s/comp/CompP.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::col::_array {

ArrayP::~ArrayP() { freeStorage(); }

const base::IComparator* ArrayP::getComparator() const { return &comp::CompP::instance(); }

void ArrayP::appendElementText(StrBuffer* text, const void* element) const {
  void* object;
  std::memcpy(&object, element, sizeof object);
  // Elements are objects of the library, whose IObject part comes first.
  const auto* named = static_cast<const base::IObject*>(object);
  text->append(std::u16string_view(named ? named->getRegistrationName() : u"null"));
  text->append(u'(');
  text->appendUInt64(reinterpret_cast<uintptr_t>(object));
  text->append(u')');
}

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
