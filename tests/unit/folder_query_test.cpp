#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/buffer_sizes.h"
#include "queries/folder_query.h"
#include "tests/fakes/fake_win_calls.h"

namespace {

// Stand-ins for the module handle and the function the platform hands out.
char shellModule;
char folderFunction;

// What the staged folder function saw on its last call.
struct FolderCall {
    void* function = nullptr;
    char* path = nullptr;
    int csidl = -1;
    bool create = true;
};

// A platform with shell32 and its folder function; the function writes
// "C:\folder<csidl>" and remembers how it was called.
FolderCall* stageShell() {
    static FolderCall seen;
    seen = FolderCall();
    fakePlatform().loadLibrary = [](const char*) -> void* { return &shellModule; };
    fakePlatform().getProcAddress = [](void* module, const char*) -> void* {
        return module == &shellModule ? &folderFunction : nullptr;
    };
    fakePlatform().callSpecialFolderPath = [](void* function, char* path, int csidl, bool create) {
        seen = FolderCall{function, path, csidl, create};
        std::string answer = "C:\\folder" + std::to_string(csidl);
        std::memcpy(path, answer.c_str(), answer.size() + 1);
        return 1;
    };
    return &seen;
}

// A ResultBuffer filled with a marker, so every byte written shows.
struct MarkedBuffer {
    char bytes[RESULT_BUFFER_SIZE];
    MarkedBuffer() { std::memset(bytes, 'Z', sizeof bytes); }
    bool tailUntouched() const {
        for (int i = PATH_BUFFER_SIZE; i < RESULT_BUFFER_SIZE; ++i) {
            if (bytes[i] != 'Z') return false;
        }
        return true;
    }
    bool zeroFrom(int start) const {
        for (int i = start; i < PATH_BUFFER_SIZE; ++i) {
            if (bytes[i] != 0) return false;
        }
        return true;
    }
};

std::vector<std::string> folderCalls(int csidl) {
    return {"loadLibrary:shell32.dll", "getProcAddress:SHGetSpecialFolderPathA",
            "callSpecialFolderPath:" + std::to_string(csidl)};
}

struct FolderCase {
    const char* key;
    int csidl;
};

TEST(QueryStringValue, EachFolderNameInAnyCaseAsksTheShellForItsCsidl) {
    const FolderCase cases[] = {
        {"CSIDL_COMMON_APPDATA", 35},
        {"CSIDL_LOCAL_APPDATA", 28},
        {"CSIDL_APPDATA", 26},
        {"CSIDL_COMMON_DESKTOPDIRECTORY", 25},
        {"CSIDL_SYSTEM", 37},
        {"CSIDL_COMMON_DOCUMENTS", 46},
        {"CSIDL_PROGRAM_FILES", 38},
        {"csidl_common_appdata", 35},
        {"csidl_local_appdata", 28},
        {"csidl_appdata", 26},
        {"csidl_common_desktopdirectory", 25},
        {"csidl_system", 37},
        {"csidl_common_documents", 46},
        {"csidl_program_files", 38},
        {"Csidl_AppData", 26},
        {"cSiDl_LoCaL_aPpDaTa", 28},
        {"CSIDL_Program_Files", 38},
        {"csidl_COMMON_documents", 46},
    };
    for (const FolderCase& c : cases) {
        resetFakePlatform();
        FolderCall* seen = stageShell();
        MarkedBuffer out;
        queryStringValue(c.key, "the default", out.bytes);
        std::string expected = "C:\\folder" + std::to_string(c.csidl);
        EXPECT_EQ(std::string(out.bytes), expected) << c.key;
        EXPECT_TRUE(out.zeroFrom(static_cast<int>(expected.size()))) << c.key;
        EXPECT_TRUE(out.tailUntouched()) << c.key;
        EXPECT_EQ(fakePlatform().calls, folderCalls(c.csidl)) << c.key;
        EXPECT_EQ(seen->function, &folderFunction) << c.key;
        EXPECT_EQ(seen->path, out.bytes) << c.key;
        EXPECT_EQ(seen->csidl, c.csidl) << c.key;
        EXPECT_FALSE(seen->create) << c.key;
    }
}

TEST(QueryStringValue, OtherKeysAnswerTheDefaultWithoutThePlatform) {
    const char* keys[] = {
        "CSIDL_DESKTOP",         "CSIDL_PERSONAL",        "CSIDL_PROGRAM_FILESX86", "CSIDL_COMMON_PROGRAMS",
        "CSIDL_APPDATA ",        " CSIDL_APPDATA",        "CSIDL_APPDAT",           "CSIDL_APPDATAA",
        "CSIDL_",                "APPDATA",               "",                       "CSIDL-APPDATA",
        "CSIDL_SYSTEMX86",       "version",
    };
    for (const char* key : keys) {
        resetFakePlatform();
        stageShell();
        MarkedBuffer out;
        queryStringValue(key, "fallback \xC3\xA9 text", out.bytes);
        EXPECT_STREQ(out.bytes, "fallback \xC3\xA9 text") << "'" << key << "'";
        EXPECT_TRUE(out.zeroFrom(static_cast<int>(std::strlen("fallback \xC3\xA9 text"))));
        EXPECT_TRUE(out.tailUntouched());
        EXPECT_TRUE(fakePlatform().calls.empty()) << "'" << key << "'";
    }
}

TEST(QueryStringValue, KeyLongerThanTheWorkingCopyNeverMatches) {
    // The first 259 bytes are kept, so a folder name followed by padding
    // stays a different key.
    const std::string keys[] = {
        "CSIDL_APPDATA" + std::string(246, ' '),  // exactly 259 bytes
        "CSIDL_APPDATA" + std::string(400, 'x'),
        std::string(5000, 'C'),
    };
    for (const std::string& key : keys) {
        resetFakePlatform();
        stageShell();
        MarkedBuffer out;
        queryStringValue(key.c_str(), "d", out.bytes);
        EXPECT_STREQ(out.bytes, "d");
        EXPECT_TRUE(fakePlatform().calls.empty());
    }
}

TEST(QueryStringValue, DefaultIsKeptUpTo259Bytes) {
    struct DefaultCase {
        std::string fallback;
        std::string expected;
    } cases[] = {
        {"", ""},
        {std::string(258, 'a'), std::string(258, 'a')},
        {std::string(259, 'b'), std::string(259, 'b')},
        {std::string(260, 'c'), std::string(259, 'c')},
        {std::string(259, 'd') + "tail", std::string(259, 'd')},
        {std::string(2000, 'e'), std::string(259, 'e')},
    };
    for (const DefaultCase& c : cases) {
        resetFakePlatform();
        MarkedBuffer out;
        queryStringValue("CSIDL_DESKTOP", c.fallback.c_str(), out.bytes);
        EXPECT_EQ(std::string(out.bytes), c.expected) << "default of " << c.fallback.size() << " bytes";
        EXPECT_TRUE(out.zeroFrom(static_cast<int>(c.expected.size())));
        EXPECT_TRUE(out.tailUntouched());
    }
}

TEST(QueryStringValue, NullArgumentsLeaveTheAnswerUntouched) {
    resetFakePlatform();
    stageShell();
    MarkedBuffer out;
    queryStringValue(nullptr, "default", out.bytes);
    queryStringValue("CSIDL_APPDATA", nullptr, out.bytes);
    queryStringValue(nullptr, nullptr, out.bytes);
    for (char byte : out.bytes) ASSERT_EQ(byte, 'Z');
    queryStringValue("CSIDL_APPDATA", "default", nullptr);
    queryStringValue("CSIDL_DESKTOP", "default", nullptr);
    EXPECT_TRUE(fakePlatform().calls.empty());
}

// A folder key never falls back to the default: each way the shell can fail
// leaves the empty string.
TEST(QueryStringValue, FolderKeyAnswersEmptyWhenTheShellFails) {
    struct FailureCase {
        const char* what;
        bool moduleLoads;
        bool functionFound;
        int functionResult;  // -1: function not reached
        std::vector<std::string> calls;
    } cases[] = {
        {"module not loadable", false, false, -1, {"loadLibrary:shell32.dll"}},
        {"function missing", true, false, -1,
         {"loadLibrary:shell32.dll", "getProcAddress:SHGetSpecialFolderPathA"}},
        {"function writes nothing and fails", true, true, 0, folderCalls(26)},
        {"function writes nothing yet succeeds", true, true, 1, folderCalls(26)},
    };
    for (const FailureCase& c : cases) {
        resetFakePlatform();
        bool moduleLoads = c.moduleLoads, functionFound = c.functionFound;
        int functionResult = c.functionResult;
        fakePlatform().loadLibrary = [=](const char*) -> void* { return moduleLoads ? &shellModule : nullptr; };
        fakePlatform().getProcAddress = [=](void*, const char*) -> void* {
            return functionFound ? &folderFunction : nullptr;
        };
        fakePlatform().callSpecialFolderPath = [=](void*, char*, int, bool) { return functionResult; };
        MarkedBuffer out;
        queryStringValue("csidl_appdata", "must not answer", out.bytes);
        EXPECT_TRUE(out.zeroFrom(0)) << c.what;
        EXPECT_TRUE(out.tailUntouched()) << c.what;
        EXPECT_EQ(fakePlatform().calls, c.calls) << c.what;
    }
}

TEST(QueryStringValue, FunctionResultIsNotConsulted) {
    resetFakePlatform();
    stageShell();
    fakePlatform().callSpecialFolderPath = [](void*, char* path, int, bool) {
        std::strcpy(path, "C:\\ProgramData");
        return 0;
    };
    MarkedBuffer out;
    queryStringValue("CSIDL_COMMON_APPDATA", "default", out.bytes);
    EXPECT_STREQ(out.bytes, "C:\\ProgramData");
}

TEST(QueryStringValue, ShellIsBoundAgainOnEveryCall) {
    resetFakePlatform();
    stageShell();
    MarkedBuffer out;
    queryStringValue("CSIDL_SYSTEM", "", out.bytes);
    queryStringValue("CSIDL_PROGRAM_FILES", "", out.bytes);
    EXPECT_EQ(fakePlatform().count("loadLibrary"), 2);
    EXPECT_EQ(fakePlatform().count("getProcAddress"), 2);
    EXPECT_STREQ(out.bytes, "C:\\folder38");
}

TEST(GetSpecialFolderPath, ClearsTheDefaultBeforeBindingTheShell) {
    resetFakePlatform();
    char seenFirstByte = 'x';
    char* outAddress = nullptr;
    fakePlatform().loadLibrary = [&](const char*) -> void* {
        seenFirstByte = outAddress[0];
        return nullptr;
    };
    MarkedBuffer out;
    outAddress = out.bytes;
    getSpecialFolderPath(26, out.bytes);
    EXPECT_EQ(seenFirstByte, '\0');
    EXPECT_TRUE(out.zeroFrom(0));
    EXPECT_TRUE(out.tailUntouched());
}

TEST(GetSpecialFolderPath, AnswerEndsWithinThePathBufferWhateverTheShellWrites) {
    for (int result : {1, 0}) {
        resetFakePlatform();
        stageShell();
        fakePlatform().callSpecialFolderPath = [result](void*, char* path, int, bool) {
            std::memset(path, 'p', PATH_BUFFER_SIZE);  // no terminating zero at all
            return result;
        };
        MarkedBuffer out;
        getSpecialFolderPath(35, out.bytes);
        EXPECT_EQ(std::string(out.bytes), std::string(PATH_BUFFER_SIZE - 1, 'p')) << "result " << result;
        EXPECT_TRUE(out.tailUntouched());
    }
}

TEST(GetSpecialFolderPath, NullOutDoesNothing) {
    resetFakePlatform();
    stageShell();
    getSpecialFolderPath(26, nullptr);
    EXPECT_TRUE(fakePlatform().calls.empty());
}

}  // namespace
