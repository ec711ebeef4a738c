#pragma once
// A strict stand-in for the JVM's JNI environment. It implements only the JNI
// operations the library may use, answers fields from requests the test
// builds, records every call, and reports anything else: an operation outside
// that set (the process stops with a message naming the slot), a call made
// while an exception is pending, a release of something never obtained, a
// release out of order, a release missing at the end of a call.
#include <jni.h>

#include <memory>
#include <string>
#include <vector>

struct FakeField {
    std::string name;
    std::string signature;  // "Ljava/lang/String;", "I" or "[B"
    bool isNull = false;    // for String and byte[] fields
    std::string text;       // String value (its modified UTF-8 bytes)
    int intValue = 0;
    std::string bytes;      // byte[] value
};

FakeField stringField(const std::string& name, const std::string& text);
FakeField nullStringField(const std::string& name);
FakeField intField(const std::string& name, int value);
FakeField byteArrayField(const std::string& name, const std::string& bytes);
FakeField nullByteArrayField(const std::string& name);

struct StrictJniState;

class StrictJniEnv {
public:
    StrictJniEnv();
    ~StrictJniEnv();
    StrictJniEnv(const StrictJniEnv&) = delete;
    StrictJniEnv& operator=(const StrictJniEnv&) = delete;

    JNIEnv* env();
    // A request object of its own class declaring exactly these fields.
    jobject newRequest(const std::vector<FakeField>& fields);
    // Some object to pass as the receiver; it is never looked at.
    jobject receiver();

    // The n-th (1-based) GetStringUTFChars / GetByteArrayElements of the
    // next calls answers null with an OutOfMemoryError pending.
    void failStringBytesAt(int n);
    void failArrayElementsAt(int n);

    // Ends one native call: records a violation for every acquisition not
    // released, clears the pending exception, and returns what was wrong
    // since the last finishCall (empty when all was well).
    std::vector<std::string> finishCall();
    // The exception the last call left pending ("" for none), as seen before finishCall.
    std::string pendingException() const;
    // Every JNI call made since the last finishCall, in order.
    const std::vector<std::string>& calls() const;
    // Bytes of a String the library created (or any fake String).
    std::string textOf(jstring text) const;
    // True when every field of the request still holds what it was built with.
    bool fieldsUnchanged(jobject request) const;

private:
    std::unique_ptr<StrictJniState> state_;
};
