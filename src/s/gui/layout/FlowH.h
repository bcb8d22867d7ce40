#pragma once
#include "s/gui/IBox.h"
#include "s/gui/layout/ManagerBase.h"
#include "s/thread/Pool.h"

namespace s::gui::layout {

// Rows that wrap at the container's width (the flow layout).
class FlowH final : public thread::PooledObject<FlowH, ManagerBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_layout_FlowH";
  // The instance boxes answer when no manager is attached; never released.
  static FlowH& shared();

 protected:
  int kind() const override { return IBox::kFlow; }
};

}  // namespace s::gui::layout
