#pragma once

// Leaves in `out` (RESULT_BUFFER_SIZE bytes) the path of the special folder
// the key names, or the default when the key names none. Only the first
// PATH_BUFFER_SIZE bytes of `out` are written. Null key, default or out:
// `out` is left untouched.
void queryStringValue(const char* key, const char* fallback, char* out);

// Leaves the folder's path in the first PATH_BUFFER_SIZE bytes of `out`, or an
// empty string when the shell's folder function cannot be bound or answers
// nothing. A null `out` is a no-op.
void getSpecialFolderPath(int csidl, char* out);
