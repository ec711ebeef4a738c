// New processes, printing and the beep on Linux.
#include "platform/win_calls.h"

bool createProcess(char*, ProcessHandles* handles) {
    handles->process = nullptr;
    handles->thread = nullptr;
    return false;
}

void closeHandle(void*) {}

void beep(uint32_t, uint32_t) {}

intptr_t shellExecute(const char*, const char*, int) {
    return 31;  // SE_ERR_NOASSOC
}
