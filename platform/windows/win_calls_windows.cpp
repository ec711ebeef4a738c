// Windows implementation: thin forwarding to kernel32 and shell32.
#include "platform/win_calls.h"

#include <windows.h>
#include <shellapi.h>

static_assert(sizeof(OSVERSIONINFOEXA) == sizeof(OsVersionRecord), "version record layout");

bool getVersionEx(OsVersionRecord* record) {
    return GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(record)) != FALSE;
}

void* loadLibrary(const char* moduleName) {
    return reinterpret_cast<void*>(LoadLibraryA(moduleName));
}

void* getProcAddress(void* module, const char* functionName) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), functionName));
}

int callSpecialFolderPath(void* function, char* path, int csidl, bool create) {
    typedef BOOL(WINAPI * SpecialFolderPathA)(HWND, LPSTR, int, BOOL);
    SpecialFolderPathA call = reinterpret_cast<SpecialFolderPathA>(function);
    return call(nullptr, path, csidl, create ? TRUE : FALSE);
}

uint32_t getTempPath(uint32_t capacity, char* buffer) {
    return GetTempPathA(capacity, buffer);
}

uint32_t getModuleFileName(char* buffer, uint32_t capacity) {
    return GetModuleFileNameA(nullptr, buffer, capacity);
}

uint32_t getFileAttributes(const char* path) {
    return GetFileAttributesA(path);
}

CreateFileOutcome createNewFile(const char* path, const char* content, int size) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) ? FILE_NAME_TAKEN
                                                                             : FILE_NOT_CREATED;
    }
    DWORD written = 0;
    WriteFile(file, content, static_cast<DWORD>(size), &written, nullptr);
    CloseHandle(file);
    return FILE_CREATED;
}

bool deleteFile(const char* path) {
    return DeleteFileA(path) != FALSE;
}

intptr_t findExecutable(const char* file, const char* directory, char* result) {
    return reinterpret_cast<intptr_t>(FindExecutableA(file, directory, result));
}

bool createProcess(char* commandLine, ProcessHandles* handles) {
    STARTUPINFOA startup;
    PROCESS_INFORMATION created;
    volatile unsigned char* bytes = reinterpret_cast<volatile unsigned char*>(&startup);
    for (unsigned i = 0; i < sizeof startup; ++i) bytes[i] = 0;
    bytes = reinterpret_cast<volatile unsigned char*>(&created);
    for (unsigned i = 0; i < sizeof created; ++i) bytes[i] = 0;
    startup.cb = sizeof startup;  // 68 bytes in the 32-bit build
    BOOL started = CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                                  nullptr, nullptr, &startup, &created);
    handles->process = created.hProcess;
    handles->thread = created.hThread;
    return started != FALSE;
}

void closeHandle(void* handle) {
    CloseHandle(static_cast<HANDLE>(handle));
}

void beep(uint32_t frequency, uint32_t durationMs) {
    Beep(frequency, durationMs);
}

intptr_t shellExecute(const char* verb, const char* file, int showCommand) {
    return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, file, nullptr, nullptr, showCommand));
}

void* allocateZeroed(int size) {
    if (size <= 0) return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(size));
}

void freeMemory(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
