#pragma once
// The check box drawer of the thin skins (see s/gui/drawer/MarkedText.h).
#include "s/gui/drawer/ICheckBox.h"
#include "s/gui/drawer/MarkedText.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::checkbox::win {

class Thin final : public thread::PooledObject<Thin, ThinMarkDrawer<ICheckBox, false>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_checkbox_win_Thin";
};

}  // namespace s::gui::drawer::checkbox::win
