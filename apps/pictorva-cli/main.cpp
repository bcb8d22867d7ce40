// pictorva-cli: runs the gallery job from the command line.
#include <cstdio>
#include <cstring>

#include "s/base/Version.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("pictorva-cli %s\n", s::base::libraryVersion());
    return 0;
  }
  std::fprintf(stderr, "usage: pictorva-cli --version\n");
  return 2;
}
