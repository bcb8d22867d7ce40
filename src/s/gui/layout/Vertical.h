#pragma once
#include "s/gui/IBox.h"
#include "s/gui/layout/ManagerBase.h"
#include "s/thread/Pool.h"

namespace s::gui::layout {

// One column (the column layout).
class Vertical final : public thread::PooledObject<Vertical, ManagerBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_layout_Vertical";

 protected:
  int kind() const override { return IBox::kColumn; }
};

}  // namespace s::gui::layout
