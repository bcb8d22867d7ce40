#include "s/archive/LinkedResources.h"
#include "s/archive/ProgramResources.h"
#include "s/col/_array/ArrayU08.h"

namespace s::archive {

namespace {

char16_t lowerAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit; }

bool sameType(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

bool ProgramResources::readResource(std::u16string_view type, uint32_t number, col::_array::ArrayU08* out) {
  out->clear();
  for (const LinkedResource& resource : linkedResources()) {
    if (resource.number == number && sameType(resource.type, type)) {
      out->writeRaw(resource.bytes, resource.size, 0, 0);
      return true;
    }
  }
  return false;
}

}  // namespace s::archive
