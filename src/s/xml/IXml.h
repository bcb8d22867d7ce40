#pragma once
// The element interface of the XML model (see Node.h for the model itself).
#include <cstddef>
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::xml {

class IXml : public base::IObject, public thread::IPoolable {
 public:
  virtual size_t childCount() const = 0;
  // Frees the name and removes every attribute and child.
  virtual void clear() = 0;
  virtual std::u16string_view name() const = 0;
  virtual void setName(std::u16string_view name) = 0;
  // The element serialised: into target (replacing its content, or appended to it),
  // or into a new pooled text that the caller releases when target is none.
  virtual str::strbuffer::StrBuffer* toText(str::strbuffer::StrBuffer* target, bool append) const = 0;
  // The element serialised as UTF-8, without byte-order mark.
  virtual std::string toUtf8() const = 0;
};

}  // namespace s::xml
