#pragma once
// Where a program's own resources are read from: a resource is named by a type text
// (such as "IDR_XML") and a number (such as 130), as in a Windows resource script.
// The program's resources (ProgramResources.h) answer it today; the archive of an
// executable module's resources takes the same role later.
#include <cstdint>
#include <string_view>

namespace s::col::_array {
class ArrayU08;
}

namespace s::archive {

class IResourceSource {
 public:
  virtual ~IResourceSource() = default;
  // The bytes of the resource of that type and number replace out's content. False,
  // and out emptied, when there is no such resource.
  virtual bool readResource(std::u16string_view type, uint32_t number, col::_array::ArrayU08* out) = 0;
};

}  // namespace s::archive
