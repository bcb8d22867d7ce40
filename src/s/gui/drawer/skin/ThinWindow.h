#pragma once
// The skins of the "ThinWindow" family, built from a 15-colour theme (see Themes.h).
#include "s/gui/drawer/ISkin.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::skin {

class ThinWindow final : public thread::PooledObject<ThinWindow, ISkin> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_skin_ThinWindow";

  // The skin of theme number id (the caller releases it), or nullptr for an unknown id.
  static ThinWindow* newThinWindowSkin(int id);
  // A skin named name from 15 colours c1 … c15.
  static ThinWindow* build(std::u16string_view name, const Rgb (&colours)[15]);
};

}  // namespace s::gui::drawer::skin
