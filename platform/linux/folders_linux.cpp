// Special folders on Linux, from the freedesktop base and user directories.
#include "platform/win_calls.h"

void* loadLibrary(const char*) {
    return nullptr;
}

void* getProcAddress(void*, const char*) {
    return nullptr;
}

int callSpecialFolderPath(void*, char* path, int, bool) {
    if (path) path[0] = '\0';
    return 0;
}
