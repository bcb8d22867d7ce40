#include <cstdio>
#include <string>

#include "s/gui/win/MessageBoxW.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::win {

// No window system here: the box becomes a line on standard error.
void MessageBoxW::showOnPlatform(Kind, std::u16string_view title, std::u16string_view text) {
  std::string line = str::strbuffer::StrBuffer(title).toUtf8();
  line += ": ";
  line += str::strbuffer::StrBuffer(text).toUtf8();
  std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace s::gui::win
