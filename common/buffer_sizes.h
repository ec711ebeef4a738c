#pragma once

// Widths of the fixed buffers every worker uses.
constexpr int RESULT_BUFFER_SIZE = 520;  // text answers of findExecutable and getStringValue
constexpr int PATH_BUFFER_SIZE = 260;    // MAX_PATH: module path, folder answer, key copies
constexpr int NAME_BUFFER_SIZE = 520;    // probe names and directory prefixes
constexpr int LAUNCH_BUFFER_SIZE = 1040; // writable command line for a new process
