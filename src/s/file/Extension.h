#pragma once
// One extension text (".jpg"), comparable by that text; groups paths by extension.
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::file {

class ExtensionBase : public base::IObject, public thread::IPoolable {};

class Extension final : public thread::PooledObject<Extension, ExtensionBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_file_Extension";

  void set(std::u16string_view text) { text_.assign(text); }
  const std::u16string& text() const { return text_; }

  // UTF-16 units in order, then the shorter first; with a comparator, the comparator's.
  int compareTo(const base::IComparable* other, const base::IComparator* comparator = nullptr) const override;
  // The same, ignoring ASCII case.
  int compareToIgnoreCase(const base::IComparable* other, const base::IComparator* comparator = nullptr) const override;
  uint32_t hashCode() const override;
  uint32_t hashCodeIgnoreCase() const override;
  void reset() override { text_.clear(); }

 private:
  std::u16string text_;
};

}  // namespace s::file

namespace s::file::win {
// The extension wrapper is the same on every system.
using Extension = s::file::Extension;
}  // namespace s::file::win
