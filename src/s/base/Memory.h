#pragma once
// Allocation with checked size arithmetic. Running out of memory is fatal here, in
// one place, instead of a null pointer surfacing somewhere later.
#include <cstddef>
#include <cstdint>

namespace s::base {

// count * size, or false when the product does not fit in size_t.
inline bool checkedMul(size_t count, size_t size, size_t* product) {
  return !__builtin_mul_overflow(count, size, product);
}

inline bool checkedAdd(size_t a, size_t b, size_t* sum) { return !__builtin_add_overflow(a, b, sum); }

// malloc/realloc that end the process with a message when memory is exhausted.
// A size of 0 allocates a minimal block, never nullptr.
void* allocOrDie(size_t bytes);
void* reallocOrDie(void* block, size_t bytes);
void* callocOrDie(size_t count, size_t size);
// For a size computation that overflowed: the same fatal path.
[[noreturn]] void dieOutOfMemory(size_t requestedBytes);

}  // namespace s::base
