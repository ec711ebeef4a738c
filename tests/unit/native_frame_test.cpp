// The frame every native shares, driven through the real entries with a strict JNI environment.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tessal_jni_JNIManager.h"
#include "tests/fakes/fake_win_calls.h"
#include "tests/fakes/strict_jni_env.h"

namespace {

using Calls = std::vector<std::string>;

std::vector<FakeField> intRequest(const char* key, int fallback) {
    return {stringField("m_strKey", key), intField("m_dDefault", fallback)};
}

class NativeFrameTest : public ::testing::Test {
protected:
    void SetUp() override { resetFakePlatform(); }
    StrictJniEnv jni;
};

TEST_F(NativeFrameTest, GetIntValueReadsKeyThenDefaultAndReleasesTheKey) {
    jobject request = jni.newRequest(intRequest("Version", -3));
    EXPECT_EQ(Java_tessal_jni_JNIManager_getIntValue(jni.env(), jni.receiver(), request), 13);
    EXPECT_EQ(jni.calls(), (Calls{"GetObjectClass", "GetFieldID m_strKey Ljava/lang/String;", "GetObjectField",
                                  "GetStringUTFChars", "GetFieldID m_dDefault I", "GetIntField",
                                  "ReleaseStringUTFChars"}));
    EXPECT_TRUE(jni.fieldsUnchanged(request));
    EXPECT_EQ(jni.finishCall(), Calls{});
}

TEST_F(NativeFrameTest, ReceiverHasNoEffect) {
    jobject request = jni.newRequest(intRequest("other", 41));
    EXPECT_EQ(Java_tessal_jni_JNIManager_getIntValue(jni.env(), jni.receiver(), request), 41);
    EXPECT_EQ(Java_tessal_jni_JNIManager_getIntValue(jni.env(), nullptr, request), 41);
    EXPECT_EQ(jni.finishCall(), Calls{});
}

TEST_F(NativeFrameTest, NullStringFieldReachesTheWorkerAsNull) {
    jobject request = jni.newRequest({nullStringField("m_strKey"), intField("m_dDefault", -9)});
    EXPECT_EQ(Java_tessal_jni_JNIManager_getIntValue(jni.env(), jni.receiver(), request), -9);
    EXPECT_EQ(jni.finishCall(), Calls{});
}

TEST_F(NativeFrameTest, MissingOrMistypedFieldsLeaveNoSuchFieldErrorPendingAndReleaseWhatWasObtained) {
    struct Case {
        const char* what;
        std::vector<FakeField> fields;
        int expected;
    } cases[] = {
        {"no key", {intField("m_dDefault", 5)}, 0},
        {"key of type int", {intField("m_strKey", 1), intField("m_dDefault", 5)}, 0},
        {"no default", {stringField("m_strKey", "version")}, 0},
        {"default of type String", {stringField("m_strKey", "version"), stringField("m_dDefault", "5")}, 0},
    };
    for (const Case& c : cases) {
        jobject request = jni.newRequest(c.fields);
        EXPECT_EQ(Java_tessal_jni_JNIManager_getIntValue(jni.env(), jni.receiver(), request), c.expected) << c.what;
        EXPECT_EQ(jni.pendingException(), "java/lang/NoSuchFieldError") << c.what;
        EXPECT_EQ(jni.finishCall(), Calls{}) << c.what;
    }
}

TEST_F(NativeFrameTest, StringBytesNotSuppliedEndsTheCallWithTheErrorPending) {
    jni.failStringBytesAt(2);
    jobject request = jni.newRequest({stringField("m_strKey", "CSIDL_APPDATA"), stringField("m_strDefaultValue", "d")});
    EXPECT_EQ(Java_tessal_jni_JNIManager_getStringValue(jni.env(), jni.receiver(), request), nullptr);
    EXPECT_EQ(jni.pendingException(), "java/lang/OutOfMemoryError");
    EXPECT_EQ(jni.calls().back(), "ReleaseStringUTFChars");
    EXPECT_EQ(fakePlatform().calls, Calls{});
    EXPECT_EQ(jni.finishCall(), Calls{});
}

TEST_F(NativeFrameTest, FindExecutableReleasesItsThreeStringsInReverseOnEveryPath) {
    std::vector<FakeField> fields = {stringField("m_strLocalDir", "C:\\work\\"), stringField("m_strFileExt1", "pdf"),
                                     stringField("m_strFileExt2", "p")};
    jobject request = jni.newRequest(fields);
    EXPECT_EQ(Java_tessal_jni_JNIManager_findExecutable(jni.env(), jni.receiver(), request), nullptr);
    EXPECT_EQ(jni.pendingException(), "");
    EXPECT_EQ(jni.finishCall(), Calls{});

    fields.pop_back();  // m_strFileExt2 missing: the first two are still released
    request = jni.newRequest(fields);
    EXPECT_EQ(Java_tessal_jni_JNIManager_findExecutable(jni.env(), jni.receiver(), request), nullptr);
    EXPECT_EQ(jni.pendingException(), "java/lang/NoSuchFieldError");
    int releases = 0;
    for (const std::string& call : jni.calls()) releases += call == "ReleaseStringUTFChars";
    EXPECT_EQ(releases, 2);
    EXPECT_EQ(jni.finishCall(), Calls{});
}

TEST_F(NativeFrameTest, ExecFuncCopiesTheByteArrayAndReleasesItWithModeZero) {
    jobject request = jni.newRequest({byteArrayField("m_Param", std::string("notepad.exe", 11)),
                                      intField("m_dFuncIDAndReturnCode", 7)});
    EXPECT_EQ(Java_tessal_jni_JNIManager_execFunc(jni.env(), jni.receiver(), request), -2);
    EXPECT_EQ(jni.calls(), (Calls{"GetObjectClass", "GetFieldID m_Param [B", "GetObjectField", "GetArrayLength",
                                  "GetByteArrayElements", "GetFieldID m_dFuncIDAndReturnCode I", "GetIntField",
                                  "ReleaseByteArrayElements"}));
    EXPECT_EQ(fakePlatform().calls, (Calls{"allocateZeroed:12", "freeMemory"}));
    EXPECT_EQ(fakePlatform().heapBlocksLive, 0);
    EXPECT_TRUE(jni.fieldsUnchanged(request));
    EXPECT_EQ(jni.finishCall(), Calls{});
}

TEST_F(NativeFrameTest, ExecFuncBadArrayInput) {
    struct Case {
        const char* what;
        std::vector<FakeField> fields;
        bool failElements;
        int expected;
        const char* pending;
    } cases[] = {
        {"null array", {nullByteArrayField("m_Param"), intField("m_dFuncIDAndReturnCode", 1)}, false, -1, ""},
        {"empty array, unknown ID", {byteArrayField("m_Param", ""), intField("m_dFuncIDAndReturnCode", 0)}, false, -2, ""},
        {"elements not supplied", {byteArrayField("m_Param", "x"), intField("m_dFuncIDAndReturnCode", 1)}, true, -1,
         "java/lang/OutOfMemoryError"},
        {"array field missing", {intField("m_dFuncIDAndReturnCode", 1)}, false, -1, "java/lang/NoSuchFieldError"},
        {"ID field missing", {byteArrayField("m_Param", "x")}, false, -1, "java/lang/NoSuchFieldError"},
        {"array declared as String", {stringField("m_Param", "x"), intField("m_dFuncIDAndReturnCode", 1)}, false, -1,
         "java/lang/NoSuchFieldError"},
    };
    for (const Case& c : cases) {
        resetFakePlatform();
        if (c.failElements) jni.failArrayElementsAt(1);
        jobject request = jni.newRequest(c.fields);
        EXPECT_EQ(Java_tessal_jni_JNIManager_execFunc(jni.env(), jni.receiver(), request), c.expected) << c.what;
        EXPECT_EQ(jni.pendingException(), c.pending) << c.what;
        EXPECT_EQ(fakePlatform().count("createProcess") + fakePlatform().count("shellExecute"), 0) << c.what;
        EXPECT_EQ(fakePlatform().heapBlocksLive, 0) << c.what;
        EXPECT_EQ(jni.finishCall(), Calls{}) << c.what;
    }
}

TEST_F(NativeFrameTest, NullRequestObjectGivesTheNoAnswerValues) {
    EXPECT_EQ(Java_tessal_jni_JNIManager_getIntValue(jni.env(), jni.receiver(), nullptr), 0);
    EXPECT_EQ(Java_tessal_jni_JNIManager_execFunc(jni.env(), jni.receiver(), nullptr), -1);
    EXPECT_EQ(Java_tessal_jni_JNIManager_findExecutable(jni.env(), jni.receiver(), nullptr), nullptr);
    EXPECT_EQ(jni.calls(), Calls{});
    EXPECT_EQ(jni.finishCall(), Calls{});
}

}  // namespace
