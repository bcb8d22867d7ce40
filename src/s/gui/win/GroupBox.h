#pragma once
// A frame with a title around one content component, which it lays out with the pile
// layout. Once the native window exists, and whenever the title changes, the title is
// measured (width tw, height th) and the margins become left 4, right 4, top th + 1,
// bottom 4. Minimum width: the fixed width when set, else the larger of tw + 24 and
// the margins plus the content minimum width; minimum height: the fixed height, else
// the margins plus the content minimum height. A percent size is truncated, not
// rounded. The frame has the skin's group box colour unless the group box has its own.
#include <string_view>

#include "s/gui/BoxBase.h"
#include "s/gui/IGroupBox.h"
#include "s/gui/drawer/Colour.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class GroupBox final : public thread::PooledObject<GroupBox, BoxBase>, public IGroupBox {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_GroupBox";
  static constexpr int kSideMargin = 4;
  // Room the title needs beside its own width (the frame's indent and ends).
  static constexpr int kTitleRoom = 24;

  GroupBox();

  void setTitle(std::u16string_view title) override;
  std::u16string_view getTitle() const override { return title_.view(); }
  // Makes component the content (owned); a previous content is removed and released.
  void setContent(IComponent* component) override;
  IComponent* getContent() const override { return content_; }
  void setFrameColour(drawer::Rgb colour);
  drawer::Colour getFrameColour() const { return frame_; }

  int getMinWidth() const override;
  int getMinHeight() const override;
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void reset() override;

 protected:
  void nativeWindowCreated() override;
  bool roundsPercent() const override { return false; }

 private:
  // Measures the title and sets the margins from it (with a native window only).
  void measureTitle();

  str::strbuffer::StrBuffer title_;
  IComponent* content_ = nullptr;
  drawer::Colour frame_ = drawer::kNoColour;
  Size titleExtent_;
};

}  // namespace s::gui::win
