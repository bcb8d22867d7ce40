#pragma once
// The program's command line: every parameter after the program's own name, in order.
// A plain parameter is kept as given; a switch (one that begins with "-" or "/") is
// kept as "-" followed by the switch's text, so "/x" and "-x" read alike.
#include <string>
#include <string_view>
#include <vector>

#include "s/base/IObject.h"
#include "s/process/commandline/ICommandLine.h"
#include "s/str/strarray/StrArray.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::process::commandline::win {

class CommandLineBases : public ICommandLine, public base::IObject, public thread::IPoolable {};

class CommandLine final : public thread::PooledObject<CommandLine, CommandLineBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_process_commandline_win_CommandLine";

  CommandLine();
  void reset() override;

  // Appends the parameters (without the program's name).
  void parse(const std::vector<std::u16string>& parameters);
  // The running process's parameters (Windows: the process command line; elsewhere
  // none are known to the library, so nothing is added).
  void parseProcess();

  size_t getCount() const override { return parameters_->count(); }
  std::u16string_view getAt(size_t index) const override;
  // The plain parameters (no switches), in order: the files a program was given.
  std::vector<std::u16string> getPlain() const;

 private:
  thread::Owned<str::strarray::StrArray> parameters_;
};

}  // namespace s::process::commandline::win
