// Native getIntValue: fields m_strKey, m_dDefault.
#include "jni/native_frame.h"
#include "queries/int_query.h"
#include "tessal_jni_JNIManager.h"

JNIEXPORT jint JNICALL Java_tessal_jni_JNIManager_getIntValue(JNIEnv* env, jobject, jobject request) {
    NativeFrame frame;
    openFrame(&frame, env, request);
    const char* key = readStringField(&frame, "m_strKey");
    jint fallback = readIntField(&frame, "m_dDefault", 0);
    jint answer = frame.failed ? fallback : queryIntValue(key, fallback);
    closeFrame(&frame);
    return answer;
}
