#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/win_host/host.h"

bool check(HostContext& host, bool ok, const std::string& what) {
    if (ok) {
        ++host.passed;
    } else {
        ++host.failed;
        std::printf("FAILED: %s\n", what.c_str());
        std::fflush(stdout);
    }
    return ok;
}

bool checkJniClean(HostContext& host, StrictJniEnv& jni, const std::string& what) {
    std::vector<std::string> violations = jni.finishCall();
    std::string all;
    for (const std::string& v : violations) all += " [" + v + "]";
    return check(host, violations.empty(), what + ": JNI rules" + all);
}

std::string readWholeFile(const std::string& path) {
    std::string bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "<missing>";
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

bool fileExistsAt(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> listFiles(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

static void* bind(HMODULE library, const char* x86Name, const char* x64Name) {
#ifdef _WIN64
    (void)x86Name;
    return reinterpret_cast<void*>(GetProcAddress(library, x64Name));
#else
    (void)x64Name;
    return reinterpret_cast<void*>(GetProcAddress(library, x86Name));
#endif
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::printf("usage: tessal_win_host <tessal_jni.dll> [helper.exe]\n");
        return 2;
    }
    HostContext host;
    char dllPath[MAX_PATH * 2];
    WideCharToMultiByte(CP_ACP, 0, argv[1], -1, dllPath, sizeof dllPath, nullptr, nullptr);
    if (argc > 2) {
        char helper[MAX_PATH * 2];
        WideCharToMultiByte(CP_ACP, 0, argv[2], -1, helper, sizeof helper, nullptr, nullptr);
        host.helperExe = helper;
    }
    HMODULE library = LoadLibraryA(dllPath);
    if (!library) {
        std::printf("FAILED: LoadLibrary(%s), error %lu\n0 passed, 1 failed\n", dllPath, GetLastError());
        return 1;
    }
    host.natives.findExecutable = reinterpret_cast<StringNative>(bind(
        library, "_Java_tessal_jni_JNIManager_findExecutable@12", "Java_tessal_jni_JNIManager_findExecutable"));
    host.natives.getIntValue = reinterpret_cast<IntNative>(
        bind(library, "_Java_tessal_jni_JNIManager_getIntValue@12", "Java_tessal_jni_JNIManager_getIntValue"));
    host.natives.getStringValue = reinterpret_cast<StringNative>(bind(
        library, "_Java_tessal_jni_JNIManager_getStringValue@12", "Java_tessal_jni_JNIManager_getStringValue"));
    host.natives.execFunc = reinterpret_cast<IntNative>(
        bind(library, "_Java_tessal_jni_JNIManager_execFunc@12", "Java_tessal_jni_JNIManager_execFunc"));
    check(host, host.natives.findExecutable && host.natives.getIntValue && host.natives.getStringValue &&
                    host.natives.execFunc,
          "every native bound by its exact exported name");

    std::string expect = environmentValue("TESSAL_EXPECT_ISVISTA");
    if (!expect.empty()) host.expectIsVista = std::atoi(expect.c_str());
    host.heavy = environmentValue("TESSAL_HOST_LIGHT").empty();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // Wine reuses small process ids, so the time is part of the name: every run starts empty.
    for (unsigned attempt = 0;; ++attempt) {
        host.workDir = std::string(temp) + "tessal_host_" + std::to_string(GetCurrentProcessId()) + "_" +
                       std::to_string(GetTickCount64()) + "_" + std::to_string(attempt) + "\\";
        if (CreateDirectoryA(host.workDir.c_str(), nullptr)) break;
        if (attempt > 100) {
            std::printf("FAILED: cannot create a work directory\n0 passed, 1 failed\n");
            return 1;
        }
    }

    std::string only = environmentValue("TESSAL_HOST_ONLY");  // e.g. "int,find"
    auto wanted = [&](const char* group) { return only.empty() || only.find(group) != std::string::npos; };
    if (host.natives.getIntValue && wanted("int")) runIntCases(host);
    if (host.natives.findExecutable && wanted("find")) runFindCases(host);
    if (host.natives.execFunc && wanted("exec")) runExecCases(host);
    if (host.natives.getStringValue && wanted("folder")) runFolderCases(host);

    std::printf("%d passed, %d failed\n", host.passed, host.failed);
    std::fflush(stdout);
    return host.failed == 0 && host.passed > 0 ? 0 : 1;
}
