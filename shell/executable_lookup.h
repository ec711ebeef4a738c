#pragma once

// Leaves in `out` (RESULT_BUFFER_SIZE bytes, zero-filled by the caller) the
// program registered for `extension`, searching the local directory (when
// given), the temporary directory and the host executable's directory.
bool findExecutableForExtension(const char* extension, const char* localDirectory, char* out);
