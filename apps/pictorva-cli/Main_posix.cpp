#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace {

// A gallery decodes one photograph after another, and each needs a few hundred
// megabytes of working memory at most (a progressive JPEG keeps every
// coefficient). Fresh memory costs the system a fault and a clearing for every
// page touched, for every picture; so the heap keeps that memory between
// pictures, in large pages.
void keepPictureMemoryInTheHeap() {
#ifdef M_MMAP_MAX
  // One arena: the job's thread would otherwise get a side arena, whose heaps are
  // too small for a photograph and fall back to fresh mappings.
  mallopt(M_ARENA_MAX, 1);
  // Large blocks come from the heap, and freed memory stays there.
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  // Grow the heap once by 512 MB (address space only: nothing is touched) and
  // ask for large pages over it; the freed block stays the heap's top.
  constexpr size_t kReserve = size_t{512} << 20;
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  void* reserve = std::malloc(kReserve);
  if (!reserve) return;
  const uintptr_t start = reinterpret_cast<uintptr_t>(reserve);
  const uintptr_t heapEnd = reinterpret_cast<uintptr_t>(sbrk(0));
  // Only when the block really is in the heap (not a fallback mapping).
  if (start + kReserve <= heapEnd) {
    const uintptr_t begin = (start + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = heapEnd & ~(kLargePage - 1);
    if (end > begin) (void)madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
  }
  std::free(reserve);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  keepPictureMemoryInTheHeap();
  // Arguments are bytes; names that are not valid UTF-8 survive the round trip.
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) {
    s::str::strbuffer::StrBuffer text;
    text.assignUtf8Lossless(argv[i]);
    arguments.emplace_back(text.view());
  }
  return pictorva::cli::runCommandLine(arguments);
}
