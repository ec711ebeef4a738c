// The program registered for a file, answered from the freedesktop data.
#include "platform/win_calls.h"

intptr_t findExecutable(const char*, const char*, char* result) {
    if (result) result[0] = '\0';
    return 31;  // SE_ERR_NOASSOC
}
