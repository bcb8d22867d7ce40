#pragma once
// The tab box drawer of the thin skins: a framed page, and tabs whose chosen one opens
// into the page.
#include "s/gui/drawer/ITabBox.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::tabbox::win {

class Thin final : public thread::PooledObject<Thin, ITabBox> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_tabbox_win_Thin";

  void setFrameColour(Rgb colour) { frame_ = toColour(colour); }
  // The tab text: normal, of the chosen tab (state.selected), and disabled.
  void setSubColours(Rgb text, Rgb selectedText, Rgb disabledText);
  Colour getFrameColour() const { return frame_; }
  Colour getTextColour() const { return text_; }
  Colour getSelectedTextColour() const { return selectedText_; }
  Colour getDisabledTextColour() const { return disabledText_; }

  void paintFrame(ICanvas& canvas, const Rect& area) const override { canvas.frameRect(area, frame_); }
  void paintTab(ICanvas& canvas, const Rect& area, std::u16string_view text, const PaintState& state) const override;
  void reset() override;

 private:
  Colour frame_ = 0;
  Colour text_ = 0;
  Colour selectedText_ = 0;
  Colour disabledText_ = 0x00808080;
};

}  // namespace s::gui::drawer::tabbox::win
