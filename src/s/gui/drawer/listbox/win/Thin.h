#pragma once
// The list box drawer of the thin skins: rows of text on alternating backgrounds,
// the selected row inverted.
#include "s/gui/drawer/IListBox.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::listbox::win {

class Thin final : public thread::PooledObject<Thin, IListBox> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_listbox_win_Thin";

  // Odd rows are painted on the alternate background.
  void setColours(Rgb background, Rgb text, Rgb selectionBackground, Rgb selectionText, Rgb alternate);
  Colour getBackgroundColour() const { return background_; }
  Colour getTextColour() const { return text_; }
  Colour getSelectionBackground() const { return selectionBackground_; }
  Colour getSelectionText() const { return selectionText_; }
  Colour getAlternateBackground() const { return alternate_; }

  void paintBackground(ICanvas& canvas, const Rect& area) const override { canvas.fillRect(area, background_); }
  void paintItem(ICanvas& canvas, const Rect& area, std::u16string_view text, int index,
                 const PaintState& state) const override;
  void reset() override;

 private:
  Colour background_ = 0x00FFFFFF;
  Colour text_ = 0;
  Colour selectionBackground_ = 0;
  Colour selectionText_ = 0x00FFFFFF;
  Colour alternate_ = 0x00F3F3F3;
};

}  // namespace s::gui::drawer::listbox::win
