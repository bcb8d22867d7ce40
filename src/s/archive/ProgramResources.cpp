#include "s/archive/ProgramResources.h"

namespace s::archive {

ProgramResources& ProgramResources::instance() {
  static ProgramResources resources;
  return resources;
}

}  // namespace s::archive
