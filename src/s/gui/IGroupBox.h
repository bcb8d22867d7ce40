#pragma once
#include <string_view>

#include "s/gui/IContainer.h"

namespace s::gui {

// A container that draws a titled frame around one content component.
class IGroupBox : public virtual IContainer {
 public:
  virtual void setTitle(std::u16string_view title) = 0;
  virtual std::u16string_view getTitle() const = 0;
  virtual void setContent(IComponent* component) = 0;
  virtual IComponent* getContent() const = 0;
};

}  // namespace s::gui
