#pragma once
// The radio button drawer of the thin skins (see s/gui/drawer/MarkedText.h).
#include "s/gui/drawer/IRadioButton.h"
#include "s/gui/drawer/MarkedText.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::radiobutton::win {

class Thin final : public thread::PooledObject<Thin, ThinMarkDrawer<IRadioButton, true>> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_radiobutton_win_Thin";
};

}  // namespace s::gui::drawer::radiobutton::win
