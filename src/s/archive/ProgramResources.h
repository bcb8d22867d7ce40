#pragma once
// The resources carried inside the running program: on Windows those of its
// executable (the resource script res/pictorva.rc, compiled into the program); on
// Linux the same files, linked into the program as byte arrays at build time (see
// LinkedResources.h). A program that reads them links the "pictorva_resources"
// object library.
#include "s/archive/IResourceSource.h"

namespace s::archive {

class ProgramResources final : public IResourceSource {
 public:
  // The one instance; it holds nothing of its own.
  static ProgramResources& instance();

  // Types compare ignoring case, as Windows compares resource type names.
  bool readResource(std::u16string_view type, uint32_t number, col::_array::ArrayU08* out) override;

 private:
  ProgramResources() = default;
};

}  // namespace s::archive
