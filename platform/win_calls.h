#pragma once
// The only door to the operating system. Workers call these functions and
// never include a system header themselves. There is one implementation for
// Windows (kernel32/shell32, 8-bit "A" calls), one for Linux (the same questions
// answered by the Linux desktop) and a fake for the unit tests.

#include <stdint.h>

// ---- version ---------------------------------------------------------------

// Same layout as OSVERSIONINFOEXA; the first 148 bytes are OSVERSIONINFOA.
struct OsVersionRecord {
    uint32_t size;
    uint32_t majorVersion;
    uint32_t minorVersion;
    uint32_t buildNumber;
    uint32_t platformId;
    char servicePackText[128];
    uint16_t servicePackMajor;
    uint16_t servicePackMinor;
    uint16_t suiteMask;
    uint8_t productType;
    uint8_t reserved;
};
static_assert(sizeof(OsVersionRecord) == 156, "OSVERSIONINFOEXA is 156 bytes");

constexpr uint32_t OS_VERSION_RECORD_EX_SIZE = 156;  // OSVERSIONINFOEXA
constexpr uint32_t OS_VERSION_RECORD_SIZE = 148;     // OSVERSIONINFOA
constexpr uint32_t PLATFORM_WIN32_NT = 2;

// GetVersionExA: fills the record whose size field the caller set; false on failure.
bool getVersionEx(OsVersionRecord* record);

// ---- late binding of the shell's folder function ---------------------------

// LoadLibraryA; null when the module cannot be loaded.
void* loadLibrary(const char* moduleName);
// GetProcAddress; null when the module has no such function.
void* getProcAddress(void* module, const char* functionName);
// Calls a function obtained as "SHGetSpecialFolderPathA" with no owner window.
// `path` must hold PATH_BUFFER_SIZE bytes.
int callSpecialFolderPath(void* function, char* path, int csidl, bool create);

// ---- files -----------------------------------------------------------------

// GetTempPathA: writes the temporary directory with its trailing separator.
// Returns its length, 0 on failure, or the needed size when it does not fit.
uint32_t getTempPath(uint32_t capacity, char* buffer);
// GetModuleFileNameA for the host process's executable. Returns the length
// written; a return of `capacity` means the path was cut.
uint32_t getModuleFileName(char* buffer, uint32_t capacity);

constexpr uint32_t NO_FILE_ATTRIBUTES = 0xFFFFFFFFu;  // INVALID_FILE_ATTRIBUTES
// GetFileAttributesA: NO_FILE_ATTRIBUTES when nothing exists under the path.
uint32_t getFileAttributes(const char* path);

enum CreateFileOutcome { FILE_CREATED, FILE_NAME_TAKEN, FILE_NOT_CREATED };
// Creates a new file exclusively (CREATE_NEW / O_EXCL), writes `content` and
// closes it. FILE_NAME_TAKEN: something already had that name, nothing was touched.
CreateFileOutcome createNewFile(const char* path, const char* content, int size);

// DeleteFileA.
bool deleteFile(const char* path);

// FindExecutableA: writes the associated program into `result`, which must
// hold RESULT_BUFFER_SIZE bytes. Returns the call's value (> 32 on success).
intptr_t findExecutable(const char* file, const char* directory, char* result);

// ---- processes and the shell -----------------------------------------------

struct ProcessHandles {
    void* process;
    void* thread;
};

// CreateProcessA with no application name, no handle inheritance,
// NORMAL_PRIORITY_CLASS, the caller's environment and directory and a
// start-up record that only carries its size. `commandLine` is writable.
bool createProcess(char* commandLine, ProcessHandles* handles);
void closeHandle(void* handle);
void beep(uint32_t frequency, uint32_t durationMs);

constexpr int SHOW_HIDDEN = 0;  // SW_HIDE
// ShellExecuteA with no owner window, no parameters and no directory.
intptr_t shellExecute(const char* verb, const char* file, int showCommand);

// ---- memory ----------------------------------------------------------------

// Zero-filled block from the process heap; null when none is left.
void* allocateZeroed(int size);
void freeMemory(void* block);
