#include "s/base/Memory.h"

#include <cstdio>
#include <cstdlib>

namespace s::base {

void dieOutOfMemory(size_t requestedBytes) {
  std::fprintf(stderr, "out of memory (%zu bytes requested)\n", requestedBytes);
  std::abort();
}

void* allocOrDie(size_t bytes) {
  void* block = std::malloc(bytes ? bytes : 1);
  if (!block) dieOutOfMemory(bytes);
  return block;
}

void* reallocOrDie(void* block, size_t bytes) {
  void* grown = std::realloc(block, bytes ? bytes : 1);
  if (!grown) dieOutOfMemory(bytes);
  return grown;
}

void* callocOrDie(size_t count, size_t size) {
  size_t bytes;
  if (!checkedMul(count, size, &bytes)) dieOutOfMemory(SIZE_MAX);
  void* block = std::calloc(count ? count : 1, size ? size : 1);
  if (!block) dieOutOfMemory(bytes);
  return block;
}

}  // namespace s::base
