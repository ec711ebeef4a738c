#include "queries/folder_query.h"

#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "platform/win_calls.h"

namespace {

struct FolderName {
    const char* name;
    int csidl;
};

// The shell folder names answered, in lookup order, with the shell's CSIDL
// values. Keys are compared upper-cased and whole.
constexpr FolderName FOLDER_NAME_TABLE[] = {
    {"CSIDL_COMMON_APPDATA", 0x23},
    {"CSIDL_LOCAL_APPDATA", 0x1C},
    {"CSIDL_APPDATA", 0x1A},
    {"CSIDL_COMMON_DESKTOPDIRECTORY", 0x19},
    {"CSIDL_SYSTEM", 0x25},
    {"CSIDL_COMMON_DOCUMENTS", 0x2E},
    {"CSIDL_PROGRAM_FILES", 0x26},
};

}  // namespace

void queryStringValue(const char* key, const char* fallback, char* out) {
    if (!key || !fallback || !out) return;
    // The default is the answer unless a folder name matches; a default of
    // more than 259 bytes is cut there.
    copyBounded(out, PATH_BUFFER_SIZE, fallback);

    // A key longer than 259 bytes is cut, which can never equal a table name.
    char upper[PATH_BUFFER_SIZE];
    copyBounded(upper, PATH_BUFFER_SIZE, key);
    toUpperInPlace(upper);

    for (const FolderName& row : FOLDER_NAME_TABLE) {
        if (bytesEqual(upper, row.name)) {
            getSpecialFolderPath(row.csidl, out);
            return;
        }
    }
}

void getSpecialFolderPath(int csidl, char* out) {
    if (!out) return;
    // From here on the default is gone: a folder key never answers it.
    zeroFill(out, PATH_BUFFER_SIZE);
    // Bound on every call; the module reference is deliberately kept.
    void* shell = loadLibrary("shell32.dll");
    if (!shell) return;
    void* function = getProcAddress(shell, "SHGetSpecialFolderPathA");
    if (!function) return;
    // What the function writes is the answer; its status is not consulted.
    callSpecialFolderPath(function, out, csidl, false);
    // Keep the answer a terminated string within the path buffer whatever
    // the function left behind.
    out[PATH_BUFFER_SIZE - 1] = '\0';
}
