// Native getStringValue: fields m_strKey, m_strDefaultValue. Never null.
#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "jni/native_frame.h"
#include "queries/folder_query.h"
#include "tessal_jni_JNIManager.h"

JNIEXPORT jstring JNICALL Java_tessal_jni_JNIManager_getStringValue(JNIEnv* env, jobject, jobject request) {
    char result[RESULT_BUFFER_SIZE];
    zeroFill(result, RESULT_BUFFER_SIZE);
    NativeFrame frame;
    openFrame(&frame, env, request);
    const char* key = readStringField(&frame, "m_strKey");
    const char* fallback = readStringField(&frame, "m_strDefaultValue");
    if (!frame.failed) queryStringValue(key, fallback, result);
    closeFrame(&frame);
    return newResultString(&frame, result);
}
