#pragma once
// execFunc's worker: start a command line as a new process, or print a
// document through the shell's "print" verb.

constexpr int FUNC_LAUNCH = 1;
constexpr int FUNC_PRINT = 2;
constexpr int RESULT_NO_PARAM = -1;
constexpr int RESULT_NO_SUCH_FUNC = -2;

constexpr int LAUNCH_BEEP_FREQUENCY = 440;  // Hz
constexpr int LAUNCH_BEEP_DURATION = 100;   // ms
constexpr int SHELL_ERROR_OUT_OF_MEMORY = 8;  // SE_ERR_OOM
constexpr int SHELL_ERROR_FILE_NOT_FOUND = 2; // SE_ERR_FNF

// Carries out function `functionId` on `command`: 0 done, 1 launch failed,
// 1..32 the shell's print error, -1 no command, -2 unknown function. A null
// command answers -1 whatever the ID; an unknown ID touches nothing.
int runFunction(const char* command, int functionId);

// Starts `commandLine` (at most LAUNCH_BUFFER_SIZE - 1 bytes) as a new process
// and returns at once, closing the thread and then the process handle. On any
// failure (including a command line too long for the launch buffer, which is
// never cut) it beeps once and answers false; a too long command starts nothing.
bool launchProcess(const char* commandLine);

// Prints the file `path` through the shell without showing a window: 0 when
// the shell took the request, else the shell's error code, always 1..32 (the
// shell's 0, "out of memory or resources", is answered as 8, SE_ERR_OOM).
int printDocument(const char* path);
