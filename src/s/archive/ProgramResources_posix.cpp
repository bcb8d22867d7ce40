#include "s/archive/LinkedResources.h"
#include "s/archive/ProgramResources.h"
#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::archive {

bool ProgramResources::readResource(std::u16string_view type, uint32_t number, col::_array::ArrayU08* out) {
  out->clear();
  const str::strbuffer::StrBuffer wanted(type);
  for (const LinkedResource& resource : linkedResources()) {
    if (resource.number == number && wanted.equalsIgnoreCase(resource.type)) {
      out->writeRaw(resource.bytes, resource.size, 0, 0);
      return true;
    }
  }
  return false;
}

}  // namespace s::archive
