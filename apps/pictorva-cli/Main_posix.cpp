#include <string>
#include <vector>

#include "GalleryCommand.h"
#include "s/str/strbuffer/StrBuffer.h"

int main(int argc, char** argv) {
  // Arguments are bytes; names that are not valid UTF-8 survive the round trip.
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) {
    s::str::strbuffer::StrBuffer text;
    text.assignUtf8Lossless(argv[i]);
    arguments.emplace_back(text.view());
  }
  return pictorva::cli::runCommandLine(arguments);
}
