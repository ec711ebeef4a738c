#pragma once
// The Windows test host: loads the built DLL, binds each native by its exact
// exported name and drives it through the strict fake JNI environment.
#include <jni.h>

#include <string>
#include <vector>

#include "tests/fakes/strict_jni_env.h"

typedef jint(JNICALL* IntNative)(JNIEnv*, jobject, jobject);
typedef jstring(JNICALL* StringNative)(JNIEnv*, jobject, jobject);

struct Natives {
    StringNative findExecutable;
    IntNative getIntValue;
    StringNative getStringValue;
    IntNative execFunc;
};

struct HostContext {
    Natives natives;
    std::string workDir;        // a fresh Windows directory for this run, ending in '\'
    std::string helperExe;      // the marker helper program (execFunc cases)
    int expectIsVista = -1;     // from TESSAL_EXPECT_ISVISTA; -1: not checked
    bool heavy = true;          // concurrency and other long cases (off under 32-bit emulation)
    int passed = 0;
    int failed = 0;
};

// Records one check; prints it when it fails.
bool check(HostContext& host, bool ok, const std::string& what);
// Checks that the call just made obeyed the JNI rules, then resets the recorder.
bool checkJniClean(HostContext& host, StrictJniEnv& jni, const std::string& what);

std::string readWholeFile(const std::string& path);
bool writeWholeFile(const std::string& path, const std::string& bytes);
bool fileExistsAt(const std::string& path);
// Names of the files directly in `directory` (which ends in '\').
std::vector<std::string> listFiles(const std::string& directory);
std::string environmentValue(const char* name);

void runIntCases(HostContext& host);
void runFindCases(HostContext& host);
void runExecCases(HostContext& host);
void runFolderCases(HostContext& host);
