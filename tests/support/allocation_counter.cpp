#include "allocation_counter.h"

#include <cstdlib>
#include <new>

// Per thread: the audio device's own thread allocates while the game runs.
static thread_local int allocations = 0;

int ThreadAllocations() {
  return allocations;
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// Kept out of line: inlined next to a new, GCC's sanitizer builds take the free for a
// mismatched deallocation.
[[gnu::noinline]] void operator delete(void* p) noexcept {
  std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
