// The library's own operator new and delete, on the C runtime's heap.
//
// The library is built without C++ exceptions, so an allocation that fails cannot throw
// CMemoryException as the original did. It ends the program with the system's fatal-error box
// instead: nothing Koravel allocates is large, so running out means the system is in trouble, and
// going on with a null object would be worse.
#include <afx.h>

#include <stdlib.h>

namespace {

void* Allocate(size_t nSize) {
  void* p = ::malloc(nSize != 0 ? nSize : 1);
  if (p == nullptr) ::FatalAppExitA(0, "Out of memory.");
  return p;
}

}  // namespace

void* operator new(size_t nSize) { return Allocate(nSize); }
void* operator new[](size_t nSize) { return Allocate(nSize); }
void operator delete(void* p) noexcept { ::free(p); }
void operator delete[](void* p) noexcept { ::free(p); }
void operator delete(void* p, size_t) noexcept { ::free(p); }
void operator delete[](void* p, size_t) noexcept { ::free(p); }
