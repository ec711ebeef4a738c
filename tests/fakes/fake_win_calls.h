#pragma once
// Fake platform for unit tests: every call is counted and logged, and its
// answer comes from a staged function (or a "failed call" default).
#include <functional>
#include <string>
#include <vector>

#include "platform/win_calls.h"

struct FakePlatform {
    std::function<bool(OsVersionRecord*)> getVersionEx;
    std::function<void*(const char*)> loadLibrary;
    std::function<void*(void*, const char*)> getProcAddress;
    std::function<int(void*, char*, int, bool)> callSpecialFolderPath;
    std::function<uint32_t(uint32_t, char*)> getTempPath;
    std::function<uint32_t(char*, uint32_t)> getModuleFileName;
    std::function<uint32_t(const char*)> getFileAttributes;
    std::function<CreateFileOutcome(const char*, const char*, int)> createNewFile;
    std::function<bool(const char*)> deleteFile;
    std::function<intptr_t(const char*, const char*, char*)> findExecutable;
    std::function<bool(char*, ProcessHandles*)> createProcess;
    std::function<void(void*)> closeHandle;
    std::function<void(uint32_t, uint32_t)> beep;
    std::function<intptr_t(const char*, const char*, int)> shellExecute;

    // One entry per call, "name" or "name:argument", in call order.
    std::vector<std::string> calls;
    int count(const std::string& name) const;  // calls whose name (before ':') matches
    int heapBlocksLive = 0;
};

// The state every fake call reads; reset it at the start of each test.
FakePlatform& fakePlatform();
void resetFakePlatform();
