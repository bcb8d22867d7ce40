#include "s/gui/layout/FlowH.h"

namespace s::gui::layout {

FlowH& FlowH::shared() {
  static FlowH& instance = *create();
  return instance;
}

}  // namespace s::gui::layout
