/* A DLL planted beside the test runner: found only by searching the executable's folder. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  (void)hInstance;
  (void)dwReason;
  (void)lpReserved;
  return TRUE;
}
