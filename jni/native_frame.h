#pragma once
// What every native has in common: reading the request object's fields and
// releasing what was obtained, in reverse order, on every path.
//
// A native's entry is a short script:
//     NativeFrame frame;
//     openFrame(&frame, env, request);
//     const char* key = readStringField(&frame, "m_strKey");
//     jint fallback = readIntField(&frame, "m_dDefault", 0);
//     ... call the worker unless frame.failed ...
//     closeFrame(&frame);
//
// Once a JNI step fails (missing field or field of another type, the JVM not
// supplying bytes), `failed` is set, the JVM's exception stays pending, and
// every later read does nothing: only releases follow.

#include <jni.h>

constexpr int MAX_FRAME_STRINGS = 3;

struct NativeFrame {
    JNIEnv* env;
    jobject request;
    jclass requestClass;
    bool failed;
    int stringCount;
    jstring strings[MAX_FRAME_STRINGS];
    const char* stringBytes[MAX_FRAME_STRINGS];
    jbyteArray array;
    jbyte* arrayElements;
    char* arrayCopy;
};

// Takes the request object's class. A null request fails the frame without an exception.
void openFrame(NativeFrame* frame, JNIEnv* env, jobject request);

// The field's bytes as the JVM gives them (modified UTF-8), kept until
// closeFrame. Null when the field holds null or the frame has failed.
const char* readStringField(NativeFrame* frame, const char* fieldName);

// The field's value, or `fallback` when the frame has failed.
jint readIntField(NativeFrame* frame, const char* fieldName, jint fallback);

// A private, zero-terminated copy of the byte[] field (length + 1 bytes from
// the heap); the text ends at the first zero byte. Null when the field holds
// null or the frame has failed.
char* readByteArrayCopy(NativeFrame* frame, const char* fieldName);

// Frees the private copy, releases the array elements (mode 0), then every
// string in reverse order of acquisition.
void closeFrame(NativeFrame* frame);

// NewStringUTF over `text`; null when the frame has failed, since no JNI call
// but a release may follow a pending exception.
jstring newResultString(NativeFrame* frame, const char* text);
