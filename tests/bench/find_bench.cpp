// What one findExecutable costs next to the bare shell query it is built on,
// measured in one process:
//   - FindExecutableA on a file that already exists (the bare query);
//   - findExecutable with a local directory holding 0<ext> (one existence
//     test and one query);
//   - findExecutable with an empty local directory (existence test, probe
//     creation, query, deletion).
// The native is called through the strict fake JNI environment, as the test
// host does; building the request and checking the JNI rules afterwards are
// outside the timed span. Prints figures; it checks nothing.
//   tessal_find_bench.exe <tessal_jni.dll> [rounds] [extension]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fakes/strict_jni_env.h"

typedef jstring(JNICALL* StringNative)(JNIEnv*, jobject, jobject);

static double ticksPerMicrosecond() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1e6;
}

static long long now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter.QuadPart;
}

struct Series {
    std::string label;
    std::vector<double> micros;
    std::string answer;
};

static void report(Series& series) {
    std::vector<double>& m = series.micros;
    std::sort(m.begin(), m.end());
    double median = m.size() % 2 ? m[m.size() / 2] : (m[m.size() / 2 - 1] + m[m.size() / 2]) / 2;
    std::printf("%-44s median %9.1f us   min %9.1f us   p90 %9.1f us   (%zu calls)\n", series.label.c_str(), median, m.front(),
                m[m.size() * 9 / 10], m.size());
    std::printf("%-44s answer %s\n", "", series.answer.c_str());
}

static double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.size() % 2 ? values[values.size() / 2]
                              : (values[values.size() / 2 - 1] + values[values.size() / 2]) / 2;
}

int main(int argc, char** argv) {
    const char* dll = argc > 1 ? argv[1] : "tessal_jni.dll";
    int rounds = argc > 2 ? std::atoi(argv[2]) : 500;
    std::string extension = argc > 3 ? argv[3] : ".txt";
    if (rounds < 1) rounds = 1;

    HMODULE library = LoadLibraryA(dll);
    if (!library) {
        std::printf("cannot load %s (error %lu)\n", dll, GetLastError());
        return 1;
    }
#ifdef _WIN64
    const char* name = "Java_tessal_jni_JNIManager_findExecutable";
#else
    const char* name = "_Java_tessal_jni_JNIManager_findExecutable@12";
#endif
    StringNative findExecutable = reinterpret_cast<StringNative>(GetProcAddress(library, name));
    if (!findExecutable) {
        std::printf("%s has no export %s\n", dll, name);
        return 1;
    }

    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string root = std::string(temp) + "tessal_bench_" + std::to_string(GetCurrentProcessId()) + "\\";
    std::string existingDir = root + "existing\\";
    std::string emptyDir = root + "empty\\";
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA(existingDir.c_str(), nullptr);
    CreateDirectoryA(emptyDir.c_str(), nullptr);
    std::string existingFile = existingDir + "0" + extension;
    HANDLE file = CreateFileA(existingFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("cannot create %s\n", existingFile.c_str());
        return 1;
    }
    DWORD written = 0;
    WriteFile(file, "benchmark\r\n", 11, &written, nullptr);
    CloseHandle(file);

    StrictJniEnv jni;
    double perMicro = ticksPerMicrosecond();
    Series bare{"FindExecutableA, existing file", {}, ""};
    Series findExisting{"findExecutable, existing 0" + extension, {}, ""};
    Series findProbe{"findExecutable, probe file (empty local dir)", {}, ""};
    int jniFaults = 0;

    auto callNative = [&](const std::string& localDir, Series& series, bool record) {
        jobject request = jni.newRequest({stringField("m_strLocalDir", localDir), stringField("m_strFileExt1", extension),
                                          stringField("m_strFileExt2", extension)});
        long long start = now();
        jstring result = findExecutable(jni.env(), jni.receiver(), request);
        long long end = now();
        if (record) series.micros.push_back(static_cast<double>(end - start) / perMicro);
        series.answer = result ? "\"" + jni.textOf(result) + "\"" : "null";
        if (!jni.finishCall().empty()) ++jniFaults;
    };
    auto callBare = [&](bool record) {
        char result[MAX_PATH * 2] = {};
        long long start = now();
        INT_PTR code = reinterpret_cast<INT_PTR>(FindExecutableA(existingFile.c_str(), nullptr, result));
        long long end = now();
        if (record) bare.micros.push_back(static_cast<double>(end - start) / perMicro);
        bare.answer = "\"" + std::string(result) + "\" (returned " + std::to_string(static_cast<long long>(code)) + ")";
    };

    // Warm-up: loads what the shell loads on first use, fills caches.
    int warmup = std::min(20, rounds);
    for (int i = 0; i < warmup; ++i) {
        callBare(false);
        callNative(existingDir, findExisting, false);
        callNative(emptyDir, findProbe, false);
    }
    // Interleaved, so that all three see the same conditions.
    for (int i = 0; i < rounds; ++i) {
        callBare(true);
        callNative(existingDir, findExisting, true);
        callNative(emptyDir, findProbe, true);
    }

    std::printf("%s, extension %s, %d rounds after %d warm-up rounds, %s build\n", dll, extension.c_str(), rounds, warmup,
                sizeof(void*) == 8 ? "x64" : "x86");
    report(bare);
    report(findExisting);
    report(findProbe);
    double base = medianOf(bare.micros);
    std::printf("ratio of medians to the bare query: existing file %.2f, probe file %.2f\n",
                medianOf(findExisting.micros) / base, medianOf(findProbe.micros) / base);
    if (jniFaults) std::printf("note: %d calls broke JNI rules\n", jniFaults);

    DeleteFileA(existingFile.c_str());
    RemoveDirectoryA(existingDir.c_str());
    RemoveDirectoryA(emptyDir.c_str());
    RemoveDirectoryA(root.c_str());
    return 0;
}
