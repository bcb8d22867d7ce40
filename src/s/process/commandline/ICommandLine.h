#pragma once
// The parameters a program was started with, in order.
#include <cstddef>
#include <string_view>

namespace s::process::commandline {

class ICommandLine {
 public:
  virtual ~ICommandLine() = default;
  virtual size_t getCount() const = 0;
  // Parameter index: a plain parameter as given, a switch as "-" and its text.
  virtual std::u16string_view getAt(size_t index) const = 0;
};

}  // namespace s::process::commandline
