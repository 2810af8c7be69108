// The library's own operator new and delete, on the C runtime's heap.
//
// The library is built without C++ exceptions, so an allocation that fails cannot throw
// CMemoryException as the original did. It ends the program instead, with ERROR_NOT_ENOUGH_MEMORY
// as its exit code: nothing Koravel allocates is large, so running out means the system is in
// trouble, and going on with a null object would be worse. No box: it could need the memory
// there is not, and a run from a script has no one to answer it (the system's fatal-error box
// would also end the process with 0, success to a script).
#include <afx.h>

#include <stdlib.h>

namespace {

void* Allocate(size_t nSize) {
  void* p = ::malloc(nSize != 0 ? nSize : 1);
  if (p == nullptr) ::ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
  return p;
}

}  // namespace

void* operator new(size_t nSize) { return Allocate(nSize); }
void* operator new[](size_t nSize) { return Allocate(nSize); }
void operator delete(void* p) noexcept { ::free(p); }
void operator delete[](void* p) noexcept { ::free(p); }
void operator delete(void* p, size_t) noexcept { ::free(p); }
void operator delete[](void* p, size_t) noexcept { ::free(p); }
