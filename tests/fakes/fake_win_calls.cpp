#include "tests/fakes/fake_win_calls.h"

#include <cstdlib>

FakePlatform& fakePlatform() {
    static FakePlatform state;
    return state;
}

void resetFakePlatform() {
    fakePlatform() = FakePlatform();
}

int FakePlatform::count(const std::string& name) const {
    int n = 0;
    for (const std::string& call : calls) {
        if (call == name || call.compare(0, name.size() + 1, name + ":") == 0) ++n;
    }
    return n;
}

static void record(const std::string& name, const char* argument = nullptr) {
    fakePlatform().calls.push_back(argument ? name + ":" + argument : name);
}

bool getVersionEx(OsVersionRecord* record_) {
    record("getVersionEx", std::to_string(record_->size).c_str());
    return fakePlatform().getVersionEx ? fakePlatform().getVersionEx(record_) : false;
}

void* loadLibrary(const char* moduleName) {
    record("loadLibrary", moduleName);
    return fakePlatform().loadLibrary ? fakePlatform().loadLibrary(moduleName) : nullptr;
}

void* getProcAddress(void* module, const char* functionName) {
    record("getProcAddress", functionName);
    return fakePlatform().getProcAddress ? fakePlatform().getProcAddress(module, functionName) : nullptr;
}

int callSpecialFolderPath(void* function, char* path, int csidl, bool create) {
    record("callSpecialFolderPath", std::to_string(csidl).c_str());
    return fakePlatform().callSpecialFolderPath ? fakePlatform().callSpecialFolderPath(function, path, csidl, create)
                                                : 0;
}

uint32_t getTempPath(uint32_t capacity, char* buffer) {
    record("getTempPath");
    return fakePlatform().getTempPath ? fakePlatform().getTempPath(capacity, buffer) : 0;
}

uint32_t getModuleFileName(char* buffer, uint32_t capacity) {
    record("getModuleFileName");
    return fakePlatform().getModuleFileName ? fakePlatform().getModuleFileName(buffer, capacity) : 0;
}

uint32_t getFileAttributes(const char* path) {
    record("getFileAttributes", path);
    return fakePlatform().getFileAttributes ? fakePlatform().getFileAttributes(path) : NO_FILE_ATTRIBUTES;
}

CreateFileOutcome createNewFile(const char* path, const char* content, int size) {
    record("createNewFile", path);
    return fakePlatform().createNewFile ? fakePlatform().createNewFile(path, content, size) : FILE_NOT_CREATED;
}

bool deleteFile(const char* path) {
    record("deleteFile", path);
    return fakePlatform().deleteFile ? fakePlatform().deleteFile(path) : false;
}

intptr_t findExecutable(const char* file, const char* directory, char* result) {
    record("findExecutable", file);
    return fakePlatform().findExecutable ? fakePlatform().findExecutable(file, directory, result) : 31;
}

bool createProcess(char* commandLine, ProcessHandles* handles) {
    record("createProcess", commandLine);
    return fakePlatform().createProcess ? fakePlatform().createProcess(commandLine, handles) : false;
}

void closeHandle(void* handle) {
    record("closeHandle", std::to_string(reinterpret_cast<uintptr_t>(handle)).c_str());
    if (fakePlatform().closeHandle) fakePlatform().closeHandle(handle);
}

void beep(uint32_t frequency, uint32_t durationMs) {
    record("beep", (std::to_string(frequency) + "/" + std::to_string(durationMs)).c_str());
    if (fakePlatform().beep) fakePlatform().beep(frequency, durationMs);
}

intptr_t shellExecute(const char* verb, const char* file, int showCommand) {
    record("shellExecute", (std::string(verb ? verb : "(null)") + "|" + (file ? file : "(null)") + "|" +
                            std::to_string(showCommand)).c_str());
    return fakePlatform().shellExecute ? fakePlatform().shellExecute(verb, file, showCommand) : 31;
}

void* allocateZeroed(int size) {
    record("allocateZeroed", std::to_string(size).c_str());
    if (size <= 0) return nullptr;
    ++fakePlatform().heapBlocksLive;
    return std::calloc(static_cast<size_t>(size), 1);
}

void freeMemory(void* block) {
    record("freeMemory");
    if (!block) return;
    --fakePlatform().heapBlocksLive;
    std::free(block);
}
