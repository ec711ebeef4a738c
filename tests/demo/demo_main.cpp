// Prints every native's answers through the real DLL: it is loaded with
// LoadLibrary and each native is bound by its exported name, as a JVM would.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/fakes/strict_jni_env.h"

typedef jint(JNICALL* IntNative)(JNIEnv*, jobject, jobject);
typedef jstring(JNICALL* StringNative)(JNIEnv*, jobject, jobject);

static FARPROC bind(HMODULE library, const char* name) {
#ifdef _WIN64
    return GetProcAddress(library, (std::string("Java_tessal_jni_JNIManager_") + name).c_str());
#else
    return GetProcAddress(library, (std::string("_Java_tessal_jni_JNIManager_") + name + "@12").c_str());
#endif
}

static std::string shown(StrictJniEnv& jni, jstring text) {
    return text ? "\"" + jni.textOf(text) + "\"" : std::string("null");
}

int main(int argc, char** argv) {
    HMODULE library = LoadLibraryA(argc > 1 ? argv[1] : "tessal_jni.dll");
    if (!library) {
        std::printf("cannot load the DLL (error %lu)\n", GetLastError());
        return 1;
    }
    IntNative getIntValue = reinterpret_cast<IntNative>(bind(library, "getIntValue"));
    StringNative getStringValue = reinterpret_cast<StringNative>(bind(library, "getStringValue"));
    StringNative findExecutable = reinterpret_cast<StringNative>(bind(library, "findExecutable"));
    IntNative execFunc = reinterpret_cast<IntNative>(bind(library, "execFunc"));
    StrictJniEnv jni;

    if (getIntValue) {
        for (const char* key : {"version", "isvista", "other"}) {
            jobject request = jni.newRequest({stringField("m_strKey", key), intField("m_dDefault", -1)});
            std::printf("getIntValue(\"%s\", default -1) = %ld\n", key,
                        static_cast<long>(getIntValue(jni.env(), jni.receiver(), request)));
            jni.finishCall();
        }
    }
    if (getStringValue) {
        for (const char* key : {"CSIDL_COMMON_APPDATA", "CSIDL_LOCAL_APPDATA", "CSIDL_APPDATA",
                                "CSIDL_COMMON_DESKTOPDIRECTORY", "CSIDL_SYSTEM", "CSIDL_COMMON_DOCUMENTS",
                                "CSIDL_PROGRAM_FILES", "CSIDL_DESKTOP"}) {
            jobject request =
                jni.newRequest({stringField("m_strKey", key), stringField("m_strDefaultValue", "(default)")});
            std::printf("getStringValue(\"%s\") = %s\n", key,
                        shown(jni, getStringValue(jni.env(), jni.receiver(), request)).c_str());
            jni.finishCall();
        }
    }
    if (findExecutable) {
        jobject request = jni.newRequest({nullStringField("m_strLocalDir"), stringField("m_strFileExt1", ".txt"),
                                          stringField("m_strFileExt2", ".text")});
        std::printf("findExecutable(\".txt\") = %s\n",
                    shown(jni, findExecutable(jni.env(), jni.receiver(), request)).c_str());
        jni.finishCall();
    }
    if (execFunc) {
        struct Launch {
            const char* command;
            int function;
        } launches[] = {{"tessal_marker_helper.exe --delay=0 demo-launch", 1},
                        {"no_such_program_here.exe", 1},
                        {"C:\\no\\such\\file.txt", 2}};
        for (const Launch& launch : launches) {
            jobject request = jni.newRequest(
                {byteArrayField("m_Param", launch.command), intField("m_dFuncIDAndReturnCode", launch.function)});
            std::printf("execFunc(%d, \"%s\") = %ld\n", launch.function, launch.command,
                        static_cast<long>(execFunc(jni.env(), jni.receiver(), request)));
            jni.finishCall();
        }
    }
    return 0;
}
