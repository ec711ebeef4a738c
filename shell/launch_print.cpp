#include "shell/launch_print.h"

int runFunction(const char* command, int functionId) {
    if (!command) return RESULT_NO_PARAM;
    (void)functionId;
    return RESULT_NO_SUCH_FUNC;
}
