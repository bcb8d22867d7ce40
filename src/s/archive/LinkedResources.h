#pragma once
// The resources linked into a Linux program. The build generates their definition
// from the resource script res/pictorva.rc (cmake/EmbedResources.cmake): every line
// "NUMBER TYPE \"FILE\"" of a type of the program's own (not a standard Windows type
// such as ICON) becomes one entry holding the file's bytes.
#include <cstddef>
#include <cstdint>
#include <span>

namespace s::archive {

struct LinkedResource {
  const char16_t* type;  // as written in the script, such as u"IDR_XML"
  uint32_t number;
  const unsigned char* bytes;
  size_t size;
};

// Defined by the generated source of the "pictorva_resources" object library.
std::span<const LinkedResource> linkedResources();

}  // namespace s::archive
