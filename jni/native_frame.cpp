#include "jni/native_frame.h"

#include "platform/win_calls.h"

void openFrame(NativeFrame* frame, JNIEnv* env, jobject request) {
    frame->env = env;
    frame->request = request;
    frame->requestClass = nullptr;
    frame->failed = false;
    frame->stringCount = 0;
    for (int i = 0; i < MAX_FRAME_STRINGS; ++i) {
        frame->strings[i] = nullptr;
        frame->stringBytes[i] = nullptr;
    }
    frame->array = nullptr;
    frame->arrayElements = nullptr;
    frame->arrayCopy = nullptr;

    if (!env || !request) {
        frame->failed = true;
        return;
    }
    frame->requestClass = env->GetObjectClass(request);
    if (!frame->requestClass) frame->failed = true;
}

// Null with a NoSuchFieldError pending when the class lacks the field or declares it with another type.
static jfieldID lookUpField(NativeFrame* frame, const char* fieldName, const char* signature) {
    if (frame->failed) return nullptr;
    jfieldID field = frame->env->GetFieldID(frame->requestClass, fieldName, signature);
    if (!field) frame->failed = true;
    return field;
}

const char* readStringField(NativeFrame* frame, const char* fieldName) {
    jfieldID field = lookUpField(frame, fieldName, "Ljava/lang/String;");
    if (!field) return nullptr;
    if (frame->stringCount >= MAX_FRAME_STRINGS) {
        frame->failed = true;
        return nullptr;
    }
    jstring text = static_cast<jstring>(frame->env->GetObjectField(frame->request, field));
    if (!text) return nullptr;
    const char* bytes = frame->env->GetStringUTFChars(text, nullptr);
    if (!bytes) {
        frame->failed = true;  // OutOfMemoryError pending
        return nullptr;
    }
    frame->strings[frame->stringCount] = text;
    frame->stringBytes[frame->stringCount] = bytes;
    ++frame->stringCount;
    return bytes;
}

jint readIntField(NativeFrame* frame, const char* fieldName, jint fallback) {
    jfieldID field = lookUpField(frame, fieldName, "I");
    if (!field) return fallback;
    return frame->env->GetIntField(frame->request, field);
}

char* readByteArrayCopy(NativeFrame* frame, const char* fieldName) {
    jfieldID field = lookUpField(frame, fieldName, "[B");
    if (!field || frame->array) return nullptr;
    jbyteArray array = static_cast<jbyteArray>(frame->env->GetObjectField(frame->request, field));
    if (!array) return nullptr;
    jsize length = frame->env->GetArrayLength(array);
    jbyte* elements = frame->env->GetByteArrayElements(array, nullptr);
    if (!elements) {
        frame->failed = true;  // OutOfMemoryError pending
        return nullptr;
    }
    frame->array = array;
    frame->arrayElements = elements;

    // length + 1 zero-filled bytes: the copy always ends in a zero byte.
    char* copy = static_cast<char*>(allocateZeroed(length + 1));
    if (!copy) return nullptr;
    for (jsize i = 0; i < length; ++i) copy[i] = static_cast<char>(elements[i]);
    frame->arrayCopy = copy;
    return copy;
}

void closeFrame(NativeFrame* frame) {
    if (frame->arrayCopy) {
        freeMemory(frame->arrayCopy);
        frame->arrayCopy = nullptr;
    }
    if (frame->arrayElements) {
        frame->env->ReleaseByteArrayElements(frame->array, frame->arrayElements, 0);
        frame->arrayElements = nullptr;
        frame->array = nullptr;
    }
    while (frame->stringCount > 0) {
        --frame->stringCount;
        frame->env->ReleaseStringUTFChars(frame->strings[frame->stringCount],
                                          frame->stringBytes[frame->stringCount]);
        frame->strings[frame->stringCount] = nullptr;
        frame->stringBytes[frame->stringCount] = nullptr;
    }
}

jstring newResultString(NativeFrame* frame, const char* text) {
    if (frame->failed || !frame->env) return nullptr;
    return frame->env->NewStringUTF(text);
}
