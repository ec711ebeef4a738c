#include <stdlib.h>

#include "platform/win_calls.h"

void* allocateZeroed(int size) {
    if (size <= 0) return nullptr;
    return calloc(static_cast<size_t>(size), 1);
}

void freeMemory(void* block) {
    free(block);
}
