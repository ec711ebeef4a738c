#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/buffer_sizes.h"
#include "shell/launch_print.h"
#include "tests/fakes/fake_win_calls.h"
#include "tests/fakes/strict_jni_env.h"
#include "tessal_jni_JNIManager.h"

namespace {

using Calls = std::vector<std::string>;

void* const PROCESS_HANDLE = reinterpret_cast<void*>(0x1110);
void* const THREAD_HANDLE = reinterpret_cast<void*>(0x2220);

// Every command line the fake createProcess received, byte for byte.
std::vector<std::string>& startedCommands() {
    static std::vector<std::string> commands;
    return commands;
}

void stageLaunch(bool starts) {
    startedCommands().clear();
    fakePlatform().createProcess = [starts](char* commandLine, ProcessHandles* handles) {
        startedCommands().push_back(commandLine);
        handles->process = starts ? PROCESS_HANDLE : nullptr;
        handles->thread = starts ? THREAD_HANDLE : nullptr;
        return starts;
    };
}

std::string handleText(void* handle) {
    return std::to_string(reinterpret_cast<uintptr_t>(handle));
}

TEST(RunFunction, UnknownIdsAnswerMinusTwoAndTouchNothing) {
    for (int id : {0, 3, -1, -2, 100, -2147483647 - 1}) {
        resetFakePlatform();
        EXPECT_EQ(runFunction("notepad.exe", id), RESULT_NO_SUCH_FUNC) << "id " << id;
        EXPECT_TRUE(fakePlatform().calls.empty()) << "id " << id;
    }
}

TEST(RunFunction, NullCommandAnswersMinusOneForEveryId) {
    for (int id : {FUNC_LAUNCH, FUNC_PRINT, 0, 3, -1}) {
        resetFakePlatform();
        EXPECT_EQ(runFunction(nullptr, id), RESULT_NO_PARAM) << "id " << id;
        EXPECT_TRUE(fakePlatform().calls.empty()) << "id " << id;
    }
}

TEST(Launch, StartedProcessClosesThreadThenProcessWithoutBeep) {
    resetFakePlatform();
    stageLaunch(true);
    EXPECT_EQ(runFunction("\"C:\\Program Files\\a.exe\" -x \"y z\"", FUNC_LAUNCH), 0);
    EXPECT_EQ(fakePlatform().calls,
              (Calls{"createProcess:\"C:\\Program Files\\a.exe\" -x \"y z\"",
                     "closeHandle:" + handleText(THREAD_HANDLE), "closeHandle:" + handleText(PROCESS_HANDLE)}));
}

TEST(Launch, FailedStartBeepsOnceAndClosesNothing) {
    resetFakePlatform();
    stageLaunch(false);
    EXPECT_EQ(runFunction("no-such-program.exe", FUNC_LAUNCH), 1);
    EXPECT_EQ(fakePlatform().calls, (Calls{"createProcess:no-such-program.exe", "beep:440/100"}));
}

TEST(Launch, EmptyCommandStillGoesToThePlatform) {
    resetFakePlatform();
    stageLaunch(false);
    EXPECT_EQ(runFunction("", FUNC_LAUNCH), 1);
    EXPECT_EQ(fakePlatform().calls, (Calls{"createProcess:", "beep:440/100"}));
}

TEST(Launch, LengthBoundaryOfTheLaunchBuffer) {
    struct Case {
        int length;
        bool fits;
    } cases[] = {{LAUNCH_BUFFER_SIZE - 2, true}, {LAUNCH_BUFFER_SIZE - 1, true},
                 {LAUNCH_BUFFER_SIZE, false}, {LAUNCH_BUFFER_SIZE + 1, false}, {5000, false}};
    for (const Case& c : cases) {
        resetFakePlatform();
        stageLaunch(true);
        // Distinct bytes all along, so a cut or shifted copy shows.
        std::string command = "prog ";
        while (static_cast<int>(command.size()) < c.length) command += static_cast<char>('a' + command.size() % 26);
        command.resize(c.length);
        int result = runFunction(command.c_str(), FUNC_LAUNCH);
        if (c.fits) {
            EXPECT_EQ(result, 0) << c.length;
            ASSERT_EQ(startedCommands().size(), 1u) << c.length;
            EXPECT_EQ(startedCommands()[0], command) << c.length;
            EXPECT_EQ(fakePlatform().count("beep"), 0) << c.length;
            EXPECT_EQ(fakePlatform().count("closeHandle"), 2) << c.length;
        } else {
            EXPECT_EQ(result, 1) << c.length;
            EXPECT_EQ(fakePlatform().calls, Calls{"beep:440/100"}) << c.length;
        }
    }
}

TEST(Print, ShellAnswersBecomeResultCodes) {
    struct Case {
        intptr_t shell;
        int expected;
    } cases[] = {
        {0, 8},  // out of memory: never reported as success
        {2, 2}, {3, 3}, {31, 31}, {32, 32},
        {33, 0}, {42, 0}, {0x7FFFFFFF, 0},
        {-1, 0},  // a pseudo-handle with the top bit set is still above 32
    };
    for (const Case& c : cases) {
        resetFakePlatform();
        fakePlatform().shellExecute = [&](const char*, const char*, int) { return c.shell; };
        EXPECT_EQ(runFunction("C:\\docs\\report.pdf", FUNC_PRINT), c.expected) << "shell " << c.shell;
        EXPECT_EQ(fakePlatform().calls, Calls{"shellExecute:print|C:\\docs\\report.pdf|0"}) << "shell " << c.shell;
    }
}

TEST(Print, PassesPrintVerbAndHiddenWindow) {
    resetFakePlatform();
    std::string verb, file;
    int show = -1;
    fakePlatform().shellExecute = [&](const char* v, const char* f, int s) {
        verb = v;
        file = f;
        show = s;
        return intptr_t{42};
    };
    EXPECT_EQ(printDocument("a b.txt"), 0);
    EXPECT_EQ(verb, "print");
    EXPECT_EQ(file, "a b.txt");
    EXPECT_EQ(show, 0);  // SW_HIDE
    EXPECT_EQ(show, SHOW_HIDDEN);
}

TEST(RunFunction, ZeroByteEndsTheCommandText) {
    const char buffer[] = "abc\0def";
    resetFakePlatform();
    stageLaunch(true);
    EXPECT_EQ(runFunction(buffer, FUNC_LAUNCH), 0);
    EXPECT_EQ(startedCommands(), std::vector<std::string>{"abc"});

    resetFakePlatform();
    fakePlatform().shellExecute = [](const char*, const char*, int) { return intptr_t{42}; };
    EXPECT_EQ(runFunction(buffer, FUNC_PRINT), 0);
    EXPECT_EQ(fakePlatform().calls, Calls{"shellExecute:print|abc|0"});
}

// ---- the native entry over a strict JNI environment -------------------------

jint callExecFunc(StrictJniEnv& jni, jobject request) {
    return Java_tessal_jni_JNIManager_execFunc(jni.env(), jni.receiver(), request);
}

TEST(ExecFuncEntry, ZeroByteInTheArrayEndsTheText) {
    StrictJniEnv jni;
    resetFakePlatform();
    stageLaunch(true);
    jobject request = jni.newRequest({byteArrayField("m_Param", std::string("abc\0def", 7)),
                                      intField("m_dFuncIDAndReturnCode", FUNC_LAUNCH)});
    EXPECT_EQ(callExecFunc(jni, request), 0);
    EXPECT_TRUE(jni.finishCall().empty());
    EXPECT_EQ(startedCommands(), std::vector<std::string>{"abc"});
    EXPECT_TRUE(jni.fieldsUnchanged(request));
    EXPECT_EQ(fakePlatform().heapBlocksLive, 0);
}

TEST(ExecFuncEntry, ResultCodesTravelAndTheRequestStaysUnchanged) {
    struct Case {
        std::string bytes;
        int id;
        bool starts;
        int expected;
    } cases[] = {
        {"prog arg", FUNC_LAUNCH, true, 0},
        {"missing.exe", FUNC_LAUNCH, false, 1},
        {"doc.txt", FUNC_PRINT, false, 31},  // the fake shell's default answer
        {"prog", 0, true, RESULT_NO_SUCH_FUNC},
        {"prog", 3, true, RESULT_NO_SUCH_FUNC},
        {"", FUNC_LAUNCH, false, 1},
    };
    for (const Case& c : cases) {
        StrictJniEnv jni;
        resetFakePlatform();
        stageLaunch(c.starts);
        jobject request =
            jni.newRequest({byteArrayField("m_Param", c.bytes), intField("m_dFuncIDAndReturnCode", c.id)});
        EXPECT_EQ(callExecFunc(jni, request), c.expected) << c.bytes << " id " << c.id;
        EXPECT_TRUE(jni.finishCall().empty()) << c.bytes;
        EXPECT_TRUE(jni.fieldsUnchanged(request)) << c.bytes;
        EXPECT_EQ(fakePlatform().heapBlocksLive, 0) << c.bytes;
    }
}

TEST(ExecFuncEntry, NullArrayAnswersMinusOne) {
    for (int id : {FUNC_LAUNCH, FUNC_PRINT, 7}) {
        StrictJniEnv jni;
        resetFakePlatform();
        jobject request =
            jni.newRequest({nullByteArrayField("m_Param"), intField("m_dFuncIDAndReturnCode", id)});
        EXPECT_EQ(callExecFunc(jni, request), RESULT_NO_PARAM) << id;
        EXPECT_TRUE(jni.finishCall().empty()) << id;
        EXPECT_EQ(fakePlatform().count("createProcess") + fakePlatform().count("shellExecute"), 0) << id;
    }
}

}  // namespace
