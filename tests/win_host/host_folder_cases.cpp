// getStringValue through the real DLL. The folder answers are compared with
// what shell32's SHGetSpecialFolderPathA tells this very process.
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "tests/win_host/host.h"

namespace {

struct FolderName {
    const char* upper;
    const char* lower;
    const char* mixed;
    int csidl;
};

const FolderName FOLDER_NAMES[] = {
    {"CSIDL_COMMON_APPDATA", "csidl_common_appdata", "Csidl_Common_AppData", CSIDL_COMMON_APPDATA},
    {"CSIDL_LOCAL_APPDATA", "csidl_local_appdata", "cSiDl_LoCaL_aPpDaTa", CSIDL_LOCAL_APPDATA},
    {"CSIDL_APPDATA", "csidl_appdata", "CSIDL_AppData", CSIDL_APPDATA},
    {"CSIDL_COMMON_DESKTOPDIRECTORY", "csidl_common_desktopdirectory", "Csidl_Common_DesktopDirectory",
     CSIDL_COMMON_DESKTOPDIRECTORY},
    {"CSIDL_SYSTEM", "csidl_system", "CSIDL_System", CSIDL_SYSTEM},
    {"CSIDL_COMMON_DOCUMENTS", "csidl_common_documents", "csidl_COMMON_documents", CSIDL_COMMON_DOCUMENTS},
    {"CSIDL_PROGRAM_FILES", "csidl_program_files", "CSIDL_Program_Files", CSIDL_PROGRAM_FILES},
};

// What the shell answers this process for the folder, asked the way the
// library asks: no owner, a zero-filled MAX_PATH buffer, not created.
std::string shellFolder(int csidl) {
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    path[MAX_PATH - 1] = '\0';
    return path;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string shown(const std::string& text) {
    return text.size() <= 80 ? "'" + text + "'" : "'" + text.substr(0, 40) + "...' (" + std::to_string(text.size()) + " bytes)";
}

// One call with a request of these fields. Checks that the answer is a
// String, the request is unchanged and the JNI rules were kept; returns the
// answer's bytes ("<null>" when there was no String).
std::string askString(HostContext& host, StrictJniEnv& jni, const std::vector<FakeField>& fields,
                      const std::string& what) {
    jobject request = jni.newRequest(fields);
    jstring answer = host.natives.getStringValue(jni.env(), jni.receiver(), request);
    std::string text = answer ? jni.textOf(answer) : std::string("<null>");
    check(host, answer != nullptr, what + ": answers a String, not null");
    check(host, jni.pendingException().empty(), what + ": no exception pending");
    check(host, jni.fieldsUnchanged(request), what + ": request unchanged");
    checkJniClean(host, jni, what);
    return text;
}

std::string askFolder(HostContext& host, StrictJniEnv& jni, const std::string& key, const std::string& fallback,
                      const std::string& what) {
    return askString(host, jni, {stringField("m_strKey", key), stringField("m_strDefaultValue", fallback)}, what);
}

void folderNamesAnswerTheShellsPaths(HostContext& host, StrictJniEnv& jni) {
    for (const FolderName& folder : FOLDER_NAMES) {
        std::string expected = shellFolder(folder.csidl);
        std::printf("%s (%d) answers '%s'\n", folder.upper, folder.csidl, expected.c_str());
        check(host, !expected.empty(), std::string(folder.upper) + ": the shell knows the folder");
        for (const char* key : {folder.upper, folder.lower, folder.mixed}) {
            std::string what = std::string("getStringValue('") + key + "')";
            std::string answer = askFolder(host, jni, key, "not-a-folder", what);
            check(host, answer == expected, what + " = " + shown(answer) + ", shell says " + shown(expected));
        }
    }

    // The folders' shapes in a fresh prefix, for whichever architecture runs.
    std::string appData = shellFolder(CSIDL_APPDATA);
    check(host, endsWith(appData, "\\AppData\\Roaming") || endsWith(appData, "\\Application Data"),
          "CSIDL_APPDATA is the roaming application data: " + shown(appData));
    std::string localAppData = shellFolder(CSIDL_LOCAL_APPDATA);
    check(host, endsWith(localAppData, "\\AppData\\Local") || endsWith(localAppData, "\\Local Settings\\Application Data"),
          "CSIDL_LOCAL_APPDATA is the local application data: " + shown(localAppData));
    std::string system = lowerCase(shellFolder(CSIDL_SYSTEM));
    check(host, endsWith(system, "\\system32") || endsWith(system, "\\syswow64"),
          "CSIDL_SYSTEM is the system directory: " + shown(system));
    struct Shape {
        int csidl;
        const char* name;
        const char* tail;
        const char* otherTail;  // a 32-bit process's form
    } shapes[] = {
        {CSIDL_COMMON_APPDATA, "CSIDL_COMMON_APPDATA", "\\programdata", "\\programdata"},
        {CSIDL_COMMON_DESKTOPDIRECTORY, "CSIDL_COMMON_DESKTOPDIRECTORY", "\\public\\desktop", "\\public\\desktop"},
        {CSIDL_COMMON_DOCUMENTS, "CSIDL_COMMON_DOCUMENTS", "\\public\\documents", "\\public\\documents"},
        {CSIDL_PROGRAM_FILES, "CSIDL_PROGRAM_FILES", "\\program files", "\\program files (x86)"},
    };
    for (const Shape& shape : shapes) {
        std::string path = lowerCase(shellFolder(shape.csidl));
        check(host, endsWith(path, shape.tail) || endsWith(path, shape.otherTail),
              std::string(shape.name) + " has the expected shape: " + shown(path));
    }
    char windowsSystem[MAX_PATH] = {};
    GetSystemDirectoryA(windowsSystem, MAX_PATH);
    std::printf("GetSystemDirectoryA answers '%s'\n", windowsSystem);
    for (const FolderName& folder : FOLDER_NAMES) {
        std::string path = shellFolder(folder.csidl);
        check(host, path.size() >= 3 && path[1] == ':' && path[2] == '\\' && !endsWith(path, "\\"),
              std::string(folder.upper) + " is an absolute path without a trailing backslash: " + shown(path));
    }
}

void otherKeysAnswerTheDefault(HostContext& host, StrictJniEnv& jni) {
    std::string longest(259, 'x');
    longest[0] = 'L';
    longest[258] = 'Z';
    std::string longer = longest + "0123456789";
    std::string muchLonger = longest + std::string(1000, 'y');
    std::string longKey = "CSIDL_APPDATA" + std::string(300, ' ');

    struct Case {
        std::string key;
        std::string fallback;
        std::string expected;
    } cases[] = {
        // Other shell folder names and near misses of the table's names.
        {"CSIDL_DESKTOP", "desk", "desk"},
        {"CSIDL_PERSONAL", "C:\\Mine", "C:\\Mine"},
        {"CSIDL_WINDOWS", "win", "win"},
        {"CSIDL_PROGRAM_FILESX86", "pf86", "pf86"},
        {"CSIDL_COMMON_DESKTOP", "cd", "cd"},
        {" CSIDL_APPDATA", "lead", "lead"},
        {"CSIDL_APPDATA ", "trail", "trail"},
        {"CSIDL_APPDAT", "short", "short"},
        {"CSIDL-APPDATA", "dash", "dash"},
        {"APPDATA", "bare", "bare"},
        {"0x1A", "number", "number"},
        {"26", "number", "number"},
        {longKey, "long key", "long key"},
        // Only ASCII letters change case: a dotless i (U+0131) is no 'I'.
        {"CS\xC4\xB1" "DL_APPDATA", "dotless", "dotless"},
        {"nothing", "nothing at all", "nothing at all"},
        {"", "empty key", "empty key"},
        // The default comes back byte for byte, up to 259 bytes.
        {"nothing", "", ""},
        {"nothing", "C:\\Program Files (x86)\\Some App\\", "C:\\Program Files (x86)\\Some App\\"},
        {"nothing", " spaces  and\ttabs ", " spaces  and\ttabs "},
        {"nothing", "caf\xC3\xA9 \xE2\x82\xAC \xED\xA0\xBD\xED\xB8\x80 \xC0\x80 end", "caf\xC3\xA9 \xE2\x82\xAC \xED\xA0\xBD\xED\xB8\x80 \xC0\x80 end"},
        {"nothing", "%APPDATA%", "%APPDATA%"},
        {"nothing", longest, longest},
        {"nothing", longest.substr(0, 258), longest.substr(0, 258)},
        {"nothing", longer, longest},
        {"nothing", muchLonger, longest},
        {"CSIDL_DESKTOP", muchLonger, longest},
    };
    for (const Case& c : cases) {
        std::string what = "getStringValue(" + shown(c.key) + ", default " + shown(c.fallback) + ")";
        std::string answer = askFolder(host, jni, c.key, c.fallback, what);
        check(host, answer == c.expected, what + " = " + shown(answer) + ", expected " + shown(c.expected));
    }
}

void nullFieldsAnswerEmpty(HostContext& host, StrictJniEnv& jni) {
    struct Case {
        const char* what;
        std::vector<FakeField> fields;
    } cases[] = {
        {"null default, unknown key", {stringField("m_strKey", "nothing"), nullStringField("m_strDefaultValue")}},
        {"null default, folder name", {stringField("m_strKey", "CSIDL_APPDATA"), nullStringField("m_strDefaultValue")}},
        {"null key", {nullStringField("m_strKey"), stringField("m_strDefaultValue", "fallback")}},
        {"null key and default", {nullStringField("m_strKey"), nullStringField("m_strDefaultValue")}},
    };
    for (const Case& c : cases) {
        std::string answer = askString(host, jni, c.fields, c.what);
        check(host, answer.empty(), std::string(c.what) + " answers '' (got " + shown(answer) + ")");
    }
}

void requestShapes(HostContext& host, StrictJniEnv& jni) {
    // Any class declaring the two fields serves; other fields are not read.
    std::string expected = shellFolder(CSIDL_PROGRAM_FILES);
    std::string answer = askString(host, jni,
                                   {intField("m_dDefault", 4), stringField("m_strDefaultValue", "d"),
                                    byteArrayField("m_Param", "abc"), stringField("m_strKey", "csidl_program_files")},
                                   "request with other fields in another order");
    check(host, answer == expected, "request with other fields answers " + shown(answer));

    // The receiver is never looked at.
    jobject request = jni.newRequest({stringField("m_strKey", "CSIDL_SYSTEM"), stringField("m_strDefaultValue", "")});
    jstring withoutReceiver = host.natives.getStringValue(jni.env(), nullptr, request);
    check(host, withoutReceiver && jni.textOf(withoutReceiver) == shellFolder(CSIDL_SYSTEM),
          "a null receiver gives the same answer");
    checkJniClean(host, jni, "null receiver");

    // A missing or mistyped field: no String, NoSuchFieldError left for the caller, nothing leaked.
    struct Case {
        const char* what;
        std::vector<FakeField> fields;
    } broken[] = {
        {"no m_strDefaultValue", {stringField("m_strKey", "CSIDL_APPDATA")}},
        {"no m_strKey", {stringField("m_strDefaultValue", "d")}},
        {"m_strDefaultValue of type int", {stringField("m_strKey", "nothing"), intField("m_strDefaultValue", 3)}},
        {"m_strKey of type byte[]", {byteArrayField("m_strKey", "CSIDL_APPDATA"), stringField("m_strDefaultValue", "d")}},
    };
    for (const Case& c : broken) {
        jobject wrong = jni.newRequest(c.fields);
        jstring result = host.natives.getStringValue(jni.env(), jni.receiver(), wrong);
        check(host, result == nullptr && jni.pendingException() == "java/lang/NoSuchFieldError",
              std::string(c.what) + ": no String, NoSuchFieldError pending");
        check(host, jni.fieldsUnchanged(wrong), std::string(c.what) + ": request unchanged");
        checkJniClean(host, jni, c.what);
    }
}

}  // namespace

void runFolderCases(HostContext& host) {
    StrictJniEnv jni;
    folderNamesAnswerTheShellsPaths(host, jni);
    otherKeysAnswerTheDefault(host, jni);
    nullFieldsAnswerEmpty(host, jni);
    requestShapes(host, jni);
}
