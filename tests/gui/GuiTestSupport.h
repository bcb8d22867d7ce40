#pragma once
// What the toolkit's tests share: a leaf with sizes set by hand, a listener that
// records events, a root box whose native windows are kept in memory, and a save-data
// store in memory.
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "s/gui/Component.h"
#include "s/gui/events/IEventListener.h"
#include "s/gui/native/MemoryWindow.h"
#include "s/gui/win/Box.h"
#include "s/thread/Pool.h"

namespace s::gui {

// Readable rectangles and sizes in failure messages.
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}
inline void PrintTo(const Size& s, std::ostream* out) { *out << s.width << " x " << s.height; }

}  // namespace s::gui

namespace s::gui::testing {

// A leaf whose content minimum and preferred sizes the test sets.
class Probe final : public thread::PooledObject<Probe, Component> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_testing_Probe";
  void setSizes(int minWidth, int minHeight, int preferredWidth, int preferredHeight) {
    setContentSizes(minWidth, minHeight, preferredWidth, preferredHeight);
  }
  static Probe* make(int minWidth, int minHeight, int preferredWidth, int preferredHeight) {
    Probe* probe = create();
    probe->setSizes(minWidth, minHeight, preferredWidth, preferredHeight);
    return probe;
  }
};

class EventRecorder : public events::IEventListener {
 public:
  void onEvent(base::IObject* source, int eventType) override { events.emplace_back(source, eventType); }
  int count(int eventType) const {
    int n = 0;
    for (const auto& event : events) n += event.second == eventType ? 1 : 0;
    return n;
  }
  std::vector<std::pair<base::IObject*, int>> events;
};

// A box of content size width × height at the root of a tree of memory windows.
inline win::Box* makeMemoryRoot(int width, int height) {
  win::Box* root = win::Box::create();
  root->attachRootWindow(new native::MemoryWindow(*root, nullptr));
  root->setSize(width, height);
  return root;
}

inline native::MemoryWindow* memoryWindowOf(const IComponent& component) {
  return static_cast<native::MemoryWindow*>(component.getNativeWindow());
}

}  // namespace s::gui::testing
