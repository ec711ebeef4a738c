// The DLL's own entry point: the library has no runtime to start, so every
// reason (process/thread attach/detach) simply reports success.
#include <windows.h>

extern "C" BOOL WINAPI tessalDllEntry(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
