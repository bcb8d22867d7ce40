#pragma once
#include "s/base/IObject.h"
#include "s/gui/drawer/ICanvas.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer {

// Scroll bars.
class IScrollBar : public base::IObject, public thread::IPoolable {
 public:
  // The thumb, and the track it moves on (a progress bar's done and open parts).
  virtual Colour getThumbColour() const = 0;
  virtual Colour getTrackColour() const = 0;
  // A bar showing page of range units from position on.
  virtual void paint(ICanvas& canvas, const Rect& area, bool vertical, int position, int page, int range) const = 0;
};

}  // namespace s::gui::drawer
