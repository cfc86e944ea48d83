// The entry point of zav.dll. The library starts no threads and keeps no
// per-thread state, so it asks not to be told about threads the host creates.
// The process-wide diagnostic list is a static object: the runtime's start-up
// code constructs it before this runs at process attach, and destroys it after
// this runs at detach, so it lives exactly from load to unload.
#ifdef _WIN32
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
#endif
