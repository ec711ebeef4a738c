// Native execFunc: fields m_Param, m_dFuncIDAndReturnCode. The request is never written.
#include "jni/native_frame.h"
#include "shell/launch_print.h"
#include "tessal_jni_JNIManager.h"

JNIEXPORT jint JNICALL Java_tessal_jni_JNIManager_execFunc(JNIEnv* env, jobject, jobject request) {
    NativeFrame frame;
    openFrame(&frame, env, request);
    char* command = readByteArrayCopy(&frame, "m_Param");
    jint functionId = readIntField(&frame, "m_dFuncIDAndReturnCode", 0);
    jint result = frame.failed ? RESULT_NO_PARAM : runFunction(command, functionId);
    closeFrame(&frame);
    return result;
}
