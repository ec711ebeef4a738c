// Native findExecutable: fields m_strLocalDir, m_strFileExt1, m_strFileExt2.
#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "jni/native_frame.h"
#include "shell/executable_lookup.h"
#include "tessal_jni_JNIManager.h"

JNIEXPORT jstring JNICALL Java_tessal_jni_JNIManager_findExecutable(JNIEnv* env, jobject, jobject request) {
    char result[RESULT_BUFFER_SIZE];
    zeroFill(result, RESULT_BUFFER_SIZE);
    NativeFrame frame;
    openFrame(&frame, env, request);
    const char* localDirectory = readStringField(&frame, "m_strLocalDir");
    const char* firstExtension = readStringField(&frame, "m_strFileExt1");
    const char* secondExtension = readStringField(&frame, "m_strFileExt2");
    bool found = false;
    if (!frame.failed) {
        found = findExecutableForExtension(firstExtension, localDirectory, result) ||
                findExecutableForExtension(secondExtension, localDirectory, result);
    }
    closeFrame(&frame);
    return found ? newResultString(&frame, result) : nullptr;
}
