// USER32 for Koravel.exe, loaded at the first call of one of its functions: where a window is made.
// A run from a script makes none, and under Wine a program that imports USER32 pays for it half
// again its start. (On Windows, SetupAPI may load USER32 of its own accord: there it is spared
// only where no mouse is read.) The import slots of USER32's functions and their stubs are made
// from MinGW's import library (cmake/lazy_imports.py); the first call of a function comes here
// through its stub, which hands over its slot and the function's name. Every function Koravel calls
// is in every Windows it runs on: a DLL or a function missing ends the process.
#include <windows.h>

namespace {

HMODULE g_hUser32 = nullptr;

}  // namespace

// Loads USER32 by name (the DLL search was limited to the system directory at start-up), looks up
// lpszName, and puts it in *ppfnSlot for every later call.
extern "C" FARPROC KoravelBindImport(FARPROC* ppfnSlot, LPCSTR lpszName) {
  // Two threads may both get here; both then find the same.
  if (g_hUser32 == nullptr) g_hUser32 = ::LoadLibraryA("user32.dll");
  const FARPROC pfn = g_hUser32 != nullptr ? ::GetProcAddress(g_hUser32, lpszName) : nullptr;
  if (pfn == nullptr) {
    // Nothing of USER32 can say so: standard error, where there is one, does.
    const char szText[] = "Koravel: USER32.DLL or one of its functions could not be loaded.\r\n";
    DWORD cbWritten = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), szText, sizeof szText - 1, &cbWritten, nullptr);
    ::ExitProcess(g_hUser32 != nullptr ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND);
  }
  *ppfnSlot = pfn;
  return pfn;
}

// The stubs' common tail. The caller's arguments stay where they are: on the stack, and on x86_64
// in rcx, rdx, r8 and r9 too, which are kept around the call (no USER32 function takes floating
// point arguments). The stub leaves the slot in eax or rax, the name in edx or r10.
#ifdef __x86_64__
__asm__(
    ".text\n"
    ".globl KoravelLazyTail\n"
    "KoravelLazyTail:\n"
    "  push %rcx\n"
    "  push %rdx\n"
    "  push %r8\n"
    "  push %r9\n"
    "  sub $40, %rsp\n"  // the callee's 32 bytes of home space, and a 16-byte aligned stack
    "  mov %rax, %rcx\n"
    "  mov %r10, %rdx\n"
    "  call KoravelBindImport\n"
    "  add $40, %rsp\n"
    "  pop %r9\n"
    "  pop %r8\n"
    "  pop %rdx\n"
    "  pop %rcx\n"
    "  jmp *%rax\n");
#else
__asm__(
    ".text\n"
    ".globl _KoravelLazyTail\n"
    "_KoravelLazyTail:\n"
    "  push %ecx\n"
    "  push %edx\n"
    "  push %eax\n"
    "  call _KoravelBindImport\n"
    "  add $8, %esp\n"
    "  pop %ecx\n"
    "  jmp *%eax\n");
#endif
