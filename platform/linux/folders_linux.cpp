// Special folders on Linux, from the freedesktop base directories and the
// file-system hierarchy. There is no shell32 to load: loadLibrary and
// getProcAddress hand out tokens that only callSpecialFolderPath accepts.
//
// What each shell folder answers, and why:
//
// | CSIDL                              | Answer                                       |
// |------------------------------------|----------------------------------------------|
// | 26 CSIDL_APPDATA                   | $XDG_CONFIG_HOME, else $HOME/.config         |
// | 28 CSIDL_LOCAL_APPDATA             | $XDG_DATA_HOME, else $HOME/.local/share      |
// | 35 CSIDL_COMMON_APPDATA            | first entry of $XDG_CONFIG_DIRS, else /etc/xdg |
// | 25 CSIDL_COMMON_DESKTOPDIRECTORY   | nothing                                      |
// | 37 CSIDL_SYSTEM                    | /usr/bin                                     |
// | 46 CSIDL_COMMON_DOCUMENTS          | nothing                                      |
// | 38 CSIDL_PROGRAM_FILES             | /opt                                         |
// | any other value                    | nothing                                      |
//
// - APPDATA is the user's roaming application data, where programs keep the
//   settings that follow the user: the XDG configuration home. LOCAL_APPDATA
//   holds the user's data that stays on this machine: the XDG data home. The
//   two stay distinct, as they are on Windows.
// - COMMON_APPDATA is the machine-wide counterpart of APPDATA, kept by the
//   administrator for all users; XDG_CONFIG_DIRS is the machine-wide
//   counterpart of XDG_CONFIG_HOME, so its preferred (first) entry answers.
// - SYSTEM is the directory of the operating system's own programs, which
//   callers join with a tool's name; on a merged-/usr system that is /usr/bin.
// - PROGRAM_FILES is where add-on applications are installed, each in a
//   directory of its own: the FHS gives /opt exactly that role.
// - Linux has no desktop or documents folder shared by all users (the XDG
//   "Public" user directory belongs to one user), so those two answer nothing
//   rather than a guess.
//
// Only the environment is read, so the answer depends on nothing else. As the
// XDG base-directory rules require, an empty or relative value counts as
// unset; so does an empty or relative HOME, which leaves the user folders
// without an answer. Trailing slashes are dropped, since Windows answers a
// folder without a trailing separator. A path that does not fit the 260-byte
// buffer answers nothing: it is never cut. Folders are never created.
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include "common/buffer_sizes.h"
#include "platform/win_calls.h"

namespace {

// Addresses that stand in for the module and the function.
const char SHELL_MODULE_TOKEN = 's';
const char FOLDER_FUNCTION_TOKEN = 'f';

constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 0x19;
constexpr int CSIDL_APPDATA = 0x1A;
constexpr int CSIDL_LOCAL_APPDATA = 0x1C;
constexpr int CSIDL_COMMON_APPDATA = 0x23;
constexpr int CSIDL_SYSTEM = 0x25;
constexpr int CSIDL_PROGRAM_FILES = 0x26;
constexpr int CSIDL_COMMON_DOCUMENTS = 0x2E;

// An absolute, non-empty environment value, or null.
const char* absoluteVariable(const char* name) {
    const char* value = getenv(name);
    return value && value[0] == '/' ? value : nullptr;
}

// Writes base[0, baseLength) followed by suffix (empty or starting with '/')
// into path, without the base's trailing slashes (the root "/" alone stays).
// Returns nonzero when written; a path of more than 259 bytes leaves path empty.
int writeFolder(char* path, const char* base, size_t baseLength, const char* suffix) {
    size_t suffixLength = strlen(suffix);
    size_t keep = suffixLength > 0 ? 0 : 1;
    while (baseLength > keep && base[baseLength - 1] == '/') --baseLength;
    size_t total = baseLength + suffixLength;
    if (total == 0 || total > static_cast<size_t>(PATH_BUFFER_SIZE - 1)) {
        path[0] = '\0';
        return 0;
    }
    memcpy(path, base, baseLength);
    memcpy(path + baseLength, suffix, suffixLength);
    path[total] = '\0';
    return 1;
}

// $variable when absolute, else $HOME + homeSuffix when HOME is absolute.
int writeUserFolder(char* path, const char* variable, const char* homeSuffix) {
    const char* value = absoluteVariable(variable);
    if (value) return writeFolder(path, value, strlen(value), "");
    const char* home = absoluteVariable("HOME");
    if (home) return writeFolder(path, home, strlen(home), homeSuffix);
    path[0] = '\0';
    return 0;
}

// First absolute entry of a colon-separated list, else the fallback.
int writeFirstListEntry(char* path, const char* variable, const char* fallback) {
    const char* list = getenv(variable);
    while (list && *list) {
        const char* end = strchr(list, ':');
        size_t length = end ? static_cast<size_t>(end - list) : strlen(list);
        if (length > 0 && list[0] == '/') return writeFolder(path, list, length, "");
        list = end ? end + 1 : nullptr;
    }
    return writeFolder(path, fallback, strlen(fallback), "");
}

}  // namespace

void* loadLibrary(const char* moduleName) {
    if (moduleName && strcasecmp(moduleName, "shell32.dll") == 0) {
        return const_cast<char*>(&SHELL_MODULE_TOKEN);
    }
    return nullptr;
}

void* getProcAddress(void* module, const char* functionName) {
    if (module == &SHELL_MODULE_TOKEN && functionName && strcmp(functionName, "SHGetSpecialFolderPathA") == 0) {
        return const_cast<char*>(&FOLDER_FUNCTION_TOKEN);
    }
    return nullptr;
}

int callSpecialFolderPath(void* function, char* path, int csidl, bool) {
    if (!path) return 0;
    path[0] = '\0';
    if (function != &FOLDER_FUNCTION_TOKEN) return 0;
    switch (csidl) {
        case CSIDL_APPDATA:
            return writeUserFolder(path, "XDG_CONFIG_HOME", "/.config");
        case CSIDL_LOCAL_APPDATA:
            return writeUserFolder(path, "XDG_DATA_HOME", "/.local/share");
        case CSIDL_COMMON_APPDATA:
            return writeFirstListEntry(path, "XDG_CONFIG_DIRS", "/etc/xdg");
        case CSIDL_SYSTEM:
            return writeFolder(path, "/usr/bin", 8, "");
        case CSIDL_PROGRAM_FILES:
            return writeFolder(path, "/opt", 4, "");
        case CSIDL_COMMON_DESKTOPDIRECTORY:
        case CSIDL_COMMON_DOCUMENTS:
        default:
            return 0;
    }
}
