#pragma once
// Layout cases that run twice: natively on memory windows (s_tests) and under Wine on
// real child windows (gui_tests), checked there through the windows' rectangles. Each
// case builds its tree in a root the harness gives, lays it out, and checks every
// component's geometry and its native window's rectangle.
#include "s/gui/BoxBase.h"

namespace s::gui::testing {

class LayoutHarness {
 public:
  virtual ~LayoutHarness() = default;
  // An empty box with a native window and a content area of width × height, margins 0;
  // the harness keeps it until the next call or its end.
  virtual BoxBase& makeRoot(int width, int height) = 0;
  // The native window's rectangle relative to the root's client area.
  virtual Rect nativeRect(const IComponent& component) = 0;
};

// Every case, in one run (failures name the case).
void runLayoutScenarios(LayoutHarness& harness);

}  // namespace s::gui::testing
