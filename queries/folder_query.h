#pragma once

// Leaves in `out` (RESULT_BUFFER_SIZE bytes) the path of the special folder
// the key names, or the default when the key names none. Null key, default
// or out: `out` is left untouched.
void queryStringValue(const char* key, const char* fallback, char* out);

// Leaves the folder's path in `out`, or an empty string.
void getSpecialFolderPath(int csidl, char* out);
