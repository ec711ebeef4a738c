#pragma once

constexpr int FUNC_LAUNCH = 1;
constexpr int FUNC_PRINT = 2;
constexpr int RESULT_NO_PARAM = -1;
constexpr int RESULT_NO_SUCH_FUNC = -2;

// Carries out function `functionId` on `command`: 0 done, 1 launch failed,
// 1..32 the shell's print error, -1 no command, -2 unknown function.
int runFunction(const char* command, int functionId);
