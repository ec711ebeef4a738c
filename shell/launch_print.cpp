#include "shell/launch_print.h"

#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "platform/win_calls.h"

int runFunction(const char* command, int functionId) {
    if (!command) return RESULT_NO_PARAM;
    if (functionId == FUNC_LAUNCH) return launchProcess(command) ? 0 : 1;
    if (functionId == FUNC_PRINT) return printDocument(command);
    return RESULT_NO_SUCH_FUNC;
}

bool launchProcess(const char* commandLine) {
    char launchBuffer[LAUNCH_BUFFER_SIZE];
    // A command line that does not fit whole would run as a different command.
    if (!commandLine || !copyBounded(launchBuffer, LAUNCH_BUFFER_SIZE, commandLine)) {
        beep(LAUNCH_BEEP_FREQUENCY, LAUNCH_BEEP_DURATION);
        return false;
    }
    ProcessHandles handles;
    handles.process = nullptr;
    handles.thread = nullptr;
    if (!createProcess(launchBuffer, &handles)) {
        beep(LAUNCH_BEEP_FREQUENCY, LAUNCH_BEEP_DURATION);
        return false;
    }
    closeHandle(handles.thread);
    closeHandle(handles.process);
    return true;
}

int printDocument(const char* path) {
    if (!path) return SHELL_ERROR_FILE_NOT_FOUND;
    intptr_t answer = shellExecute("print", path, SHOW_HIDDEN);
    // The shell's success value is a pseudo-handle: compare it unsigned, so a
    // value with the top bit set still counts as "greater than 32".
    uintptr_t value = static_cast<uintptr_t>(answer);
    if (value > 32) return 0;
    if (value == 0) return SHELL_ERROR_OUT_OF_MEMORY;
    return static_cast<int>(value);
}
