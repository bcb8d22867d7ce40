#include "s/process/commandline/win/CommandLine.h"

namespace s::process::commandline::win {

CommandLine::CommandLine() : parameters_(str::strarray::StrArray::create()) {}

void CommandLine::reset() { parameters_->reset(); }

void CommandLine::parse(const std::vector<std::u16string>& parameters) {
  for (const std::u16string& parameter : parameters) {
    const bool isSwitch = !parameter.empty() && (parameter[0] == u'-' || parameter[0] == u'/');
    if (isSwitch) {
      parameters_->appendCopy(u"-" + parameter.substr(1));
    } else {
      parameters_->appendCopy(parameter);
    }
  }
}

std::u16string_view CommandLine::getAt(size_t index) const {
  return index < parameters_->count() ? parameters_->textAt(index)->view() : std::u16string_view();
}

std::vector<std::u16string> CommandLine::getPlain() const {
  std::vector<std::u16string> plain;
  for (size_t i = 0; i < getCount(); ++i) {
    const std::u16string_view parameter = getAt(i);
    if (!parameter.empty() && parameter[0] != u'-') plain.emplace_back(parameter);
  }
  return plain;
}

}  // namespace s::process::commandline::win
