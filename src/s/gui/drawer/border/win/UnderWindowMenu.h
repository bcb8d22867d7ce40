#pragma once
// The separator below a window's menu bar: an etched line (a shadow line with a
// highlight line under it) along the component's top edge.
#include "s/gui/drawer/IBorder.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::border::win {

class UnderWindowMenu final : public thread::PooledObject<UnderWindowMenu, IBorder> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_border_win_UnderWindowMenu";

  void setColours(Rgb shadow, Rgb highlight);
  Colour getShadowColour() const { return shadow_; }
  Colour getHighlightColour() const { return highlight_; }

  void paint(ICanvas& canvas, const Rect& area) const override;
  void reset() override;

 private:
  Colour shadow_ = kEtchShadow;
  Colour highlight_ = kEtchHighlight;
};

}  // namespace s::gui::drawer::border::win
