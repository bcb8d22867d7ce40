// The text dump of an ArrayP element: its class's registration name and address.
#include <cstring>

#include "s/col/_array/ArrayP.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::col::_array {

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

}  // namespace s::col::_array
