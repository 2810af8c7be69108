/* A DLL that stands for one planted beside an executable: it is found only by searching the
   executable's folder, and it does nothing when loaded. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  (void)hInstance;
  (void)dwReason;
  (void)lpReserved;
  return TRUE;
}
