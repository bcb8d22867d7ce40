#pragma once
#include "s/gui/IBox.h"
#include "s/gui/layout/ManagerBase.h"
#include "s/thread/Pool.h"

namespace s::gui::layout {

// Shown children on top of each other (the pile layout).
class Pile final : public thread::PooledObject<Pile, ManagerBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_layout_Pile";

 protected:
  int kind() const override { return IBox::kPile; }
};

}  // namespace s::gui::layout
