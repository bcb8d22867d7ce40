#pragma once
// The receiving end of every toolkit event. A component or window reports
// (source, event type) to its listeners, in the order they registered, on the
// thread of the window it belongs to. Each source class names its own event types.
namespace s::base {
class IObject;
}

namespace s::gui::events {

class IEventListener {
 public:
  virtual ~IEventListener() = default;
  virtual void onEvent(base::IObject* source, int eventType) = 0;
};

}  // namespace s::gui::events
