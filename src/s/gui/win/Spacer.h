#pragma once
// Empty room of a fixed length: a horizontal spacer has a fixed width, a vertical one
// a fixed height; the other axis asks for nothing.
#include "s/gui/Component.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class Spacer final : public thread::PooledObject<Spacer, Component> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_Spacer";

  static Spacer* newSpacer(bool vertical, int length);
};

}  // namespace s::gui::win
