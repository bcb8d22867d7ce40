#include <malloc.h>

#include <string>
#include <vector>

#include "GalleryCommand.h"
#include "s/str/strbuffer/StrBuffer.h"

int main(int argc, char** argv) {
#ifdef M_MMAP_MAX
  // One picture after another: the decoders' large working memory (a progressive
  // JPEG keeps every coefficient) is kept in the heap for the next picture rather
  // than mapped afresh, and cleared and faulted in page by page, for each one.
  // One arena: the job's thread would otherwise get a side arena, whose heaps
  // are too small for a photograph and fall back to fresh mappings.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  // Arguments are bytes; names that are not valid UTF-8 survive the round trip.
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) {
    s::str::strbuffer::StrBuffer text;
    text.assignUtf8Lossless(argv[i]);
    arguments.emplace_back(text.view());
  }
  return pictorva::cli::runCommandLine(arguments);
}
