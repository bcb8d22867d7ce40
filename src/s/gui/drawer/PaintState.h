#pragma once
#include "s/gui/drawer/Colour.h"

namespace s::gui::drawer {

// The state a drawer paints a component in.
struct PaintState {
  bool pressed = false;
  bool hot = false;  // the pointer is over it
  bool focused = false;
  bool disabled = false;
  bool checked = false;
  bool selected = false;
  // What shows behind the component (its parent's effective background): the fill
  // of everything a drawer leaves transparent.
  Colour background = 0x00FFFFFF;
};

}  // namespace s::gui::drawer
