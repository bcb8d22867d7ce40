#pragma once
#include "s/gui/BoxBase.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

// The general container (see s/gui/BoxBase.h).
class Box final : public thread::PooledObject<Box, BoxBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_Box";

  // A box from the pool with: the layout kind (IBox::kRow ... kPile); the width and
  // height percent when ≥ 0 (with relayout); horizontal alignment ≤ 0 left, 1 centre,
  // else right; vertical alignment ≤ 0 top, 1 middle, else bottom; each gap and each
  // margin pair only when > 0.
  static Box* newBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
                     int horizontalGap, int verticalGap, int horizontalMargins, int verticalMargins, int layoutKind);
};

}  // namespace s::gui::win
