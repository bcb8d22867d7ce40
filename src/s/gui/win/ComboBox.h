#pragma once
// A drop-down list to choose one entry from. Entries and the chosen index live here;
// the native list shows them, painted by the skin's combo drawer. Its size: the widest
// entry with room for the arrow button (a line's height) and 8 pixels of padding, by a
// line and 5 pixels above and below.
#include <string_view>

#include "s/gui/Component.h"
#include "s/gui/drawer/Colour.h"
#include "s/gui/drawer/PaintState.h"
#include "s/str/strarray/StrArray.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class ComboBox final : public thread::PooledObject<ComboBox, Component> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_ComboBox";
  // The user chose another entry; getSelected tells which.
  static constexpr int kEventSelectionChanged = 1;
  static constexpr int kPaddingX = 8;
  static constexpr int kPaddingY = 5;

  void addItem(std::u16string_view text);
  void removeAllItems();
  int getItemCount() const { return static_cast<int>(items_.count()); }
  std::u16string_view getItemText(int index) const;
  // Chooses entry index (−1: none) without an event.
  void setSelected(int index);
  int getSelected() const { return selected_; }

  // Called by the native window when the user chose entry index.
  void nativeSelectionChanged(int index);
  // The colour of the box's edge.
  drawer::Colour getFrameColour() const;
  // Paints entry index (−1: none) in the box (inField) or in the open list.
  void paintItem(drawer::ICanvas& canvas, const Rect& area, int index, const drawer::PaintState& state, bool inField);

  NativeKind getNativeKind() const override { return NativeKind::kComboBox; }
  void reset() override;

 protected:
  void nativeWindowCreated() override;

 private:
  void measure();

  str::strarray::StrArray items_;
  int selected_ = -1;
};

}  // namespace s::gui::win
