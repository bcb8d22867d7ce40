#pragma once
// The skins of the "Thin" family, built from a 6-colour theme: background, frame,
// text, c4, c5, c6 (see Themes.h).
#include "s/gui/drawer/ISkin.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::skin {

class Thin final : public thread::PooledObject<Thin, ISkin> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_skin_Thin";

  // A skin named name (the caller releases it).
  static Thin* newThinSkin(std::u16string_view name, const Rgb (&colours)[6]);
};

}  // namespace s::gui::drawer::skin
