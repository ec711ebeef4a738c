#include "tests/fakes/strict_jni_env.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

FakeField stringField(const std::string& name, const std::string& text) {
    FakeField field;
    field.name = name;
    field.signature = "Ljava/lang/String;";
    field.text = text;
    return field;
}

FakeField nullStringField(const std::string& name) {
    FakeField field = stringField(name, "");
    field.isNull = true;
    return field;
}

FakeField intField(const std::string& name, int value) {
    FakeField field;
    field.name = name;
    field.signature = "I";
    field.intValue = value;
    return field;
}

FakeField byteArrayField(const std::string& name, const std::string& bytes) {
    FakeField field;
    field.name = name;
    field.signature = "[B";
    field.bytes = bytes;
    return field;
}

FakeField nullByteArrayField(const std::string& name) {
    FakeField field = byteArrayField(name, "");
    field.isNull = true;
    return field;
}

namespace {

enum class Kind { Class, Request, String, ByteArray, Receiver };

struct FakeObject {
    Kind kind;
    std::vector<FakeField> fields;          // Class: declarations; Request: values
    std::vector<FakeField> original;        // Request: the values it was built with
    FakeObject* objectClass = nullptr;      // Request: its class
    std::vector<FakeObject*> values;        // Request: the String / byte[] object of each field
    std::string text;                       // String
    std::vector<jbyte> bytes;               // ByteArray
};

struct Acquisition {
    FakeObject* owner;
    void* data;
    bool isString;
};

}  // namespace

struct StrictJniState {
    JNIEnv_ env;  // first member: a JNIEnv* is a pointer to this state
    JNINativeInterface_ table;
    std::vector<std::unique_ptr<FakeObject>> objects;
    std::vector<Acquisition> held;
    std::vector<std::string> calls;
    std::vector<std::string> violations;
    std::string pending;
    int stringBytesCalls = 0, arrayElementsCalls = 0;
    int failStringBytesAt = 0, failArrayElementsAt = 0;
    FakeObject* receiver = nullptr;

    FakeObject* add(std::unique_ptr<FakeObject> object) {
        objects.push_back(std::move(object));
        return objects.back().get();
    }
    FakeObject* find(const void* handle, Kind kind) {
        for (auto& object : objects) {
            if (object.get() == handle && object->kind == kind) return object.get();
        }
        return nullptr;
    }
    void violation(const std::string& text) { violations.push_back(text); }
    // Every operation but a release must not run with an exception pending.
    void enter(const std::string& call) {
        calls.push_back(call);
        if (!pending.empty()) violation(call + " called with " + pending + " pending");
    }
    void release(const std::string& call, FakeObject* owner, const void* data, bool isString) {
        calls.push_back(call);
        if (held.empty()) {
            violation(call + ": nothing obtained is outstanding");
            return;
        }
        const Acquisition& last = held.back();
        if (last.owner == owner && last.data == data && last.isString == isString) {
            held.pop_back();
            return;
        }
        for (auto it = held.begin(); it != held.end(); ++it) {
            if (it->owner == owner && it->data == data && it->isString == isString) {
                violation(call + ": released out of order");
                held.erase(it);
                return;
            }
        }
        violation(call + ": releases something not obtained");
    }
};

namespace {

StrictJniState* stateOf(JNIEnv* env) {
    return reinterpret_cast<StrictJniState*>(env);
}

// Any JNI slot the library must not use stops the process, naming the slot.
template <int Slot>
void JNICALL forbiddenOperation(JNIEnv*) {
    std::fprintf(stderr, "FATAL: the library called JNI function table slot %d, which it must not use\n", Slot);
    std::fflush(stderr);
    std::abort();
}

template <int... Slots>
void fillForbidden(void** slots, int count, std::integer_sequence<int, Slots...>) {
    void* traps[] = {reinterpret_cast<void*>(&forbiddenOperation<Slots>)...};
    for (int i = 0; i < count && i < static_cast<int>(sizeof traps / sizeof traps[0]); ++i) slots[i] = traps[i];
}

jclass JNICALL getObjectClass(JNIEnv* env, jobject object) {
    StrictJniState* s = stateOf(env);
    s->enter("GetObjectClass");
    FakeObject* request = s->find(object, Kind::Request);
    if (!request) {
        s->violation("GetObjectClass on something that is not a request object");
        return nullptr;
    }
    return reinterpret_cast<jclass>(request->objectClass);
}

jfieldID JNICALL getFieldID(JNIEnv* env, jclass cls, const char* name, const char* signature) {
    StrictJniState* s = stateOf(env);
    s->enter(std::string("GetFieldID ") + (name ? name : "(null)") + " " + (signature ? signature : "(null)"));
    FakeObject* declared = s->find(cls, Kind::Class);
    if (!declared || !name || !signature) {
        s->violation("GetFieldID with an unknown class or a null name");
        return nullptr;
    }
    for (FakeField& field : declared->fields) {
        if (field.name == name && field.signature == signature) return reinterpret_cast<jfieldID>(&field);
    }
    s->pending = "java/lang/NoSuchFieldError";
    return nullptr;
}

FakeField* fieldOf(StrictJniState* s, jobject object, jfieldID id, FakeObject** requestOut) {
    FakeObject* request = s->find(object, Kind::Request);
    if (!request) {
        s->violation("field read on something that is not a request object");
        return nullptr;
    }
    for (size_t i = 0; i < request->objectClass->fields.size(); ++i) {
        if (reinterpret_cast<jfieldID>(&request->objectClass->fields[i]) == id) {
            *requestOut = request;
            return &request->fields[i];
        }
    }
    s->violation("field read with a field ID of another class");
    return nullptr;
}

jobject JNICALL getObjectField(JNIEnv* env, jobject object, jfieldID id) {
    StrictJniState* s = stateOf(env);
    s->enter("GetObjectField");
    FakeObject* request = nullptr;
    FakeField* field = fieldOf(s, object, id, &request);
    if (!field) return nullptr;
    if (field->signature == "I") {
        s->violation("GetObjectField on an int field");
        return nullptr;
    }
    if (field->isNull) return nullptr;
    return reinterpret_cast<jobject>(request->values[static_cast<size_t>(field - request->fields.data())]);
}

jint JNICALL getIntField(JNIEnv* env, jobject object, jfieldID id) {
    StrictJniState* s = stateOf(env);
    s->enter("GetIntField");
    FakeObject* request = nullptr;
    FakeField* field = fieldOf(s, object, id, &request);
    if (!field) return 0;
    if (field->signature != "I") {
        s->violation("GetIntField on a field that is not an int");
        return 0;
    }
    return field->intValue;
}

const char* JNICALL getStringUTFChars(JNIEnv* env, jstring text, jboolean* isCopy) {
    StrictJniState* s = stateOf(env);
    s->enter("GetStringUTFChars");
    if (isCopy) s->violation("GetStringUTFChars with an is-copy flag");
    FakeObject* string = s->find(text, Kind::String);
    if (!string) {
        s->violation("GetStringUTFChars on something that is not a String");
        return nullptr;
    }
    if (++s->stringBytesCalls == s->failStringBytesAt) {
        s->pending = "java/lang/OutOfMemoryError";
        return nullptr;
    }
    char* bytes = static_cast<char*>(std::malloc(string->text.size() + 1));
    std::memcpy(bytes, string->text.c_str(), string->text.size() + 1);
    s->held.push_back({string, bytes, true});
    return bytes;
}

void JNICALL releaseStringUTFChars(JNIEnv* env, jstring text, const char* bytes) {
    StrictJniState* s = stateOf(env);
    FakeObject* string = s->find(text, Kind::String);
    size_t before = s->held.size();
    s->release("ReleaseStringUTFChars", string, bytes, true);
    if (s->held.size() < before) std::free(const_cast<char*>(bytes));
}

jsize JNICALL getArrayLength(JNIEnv* env, jarray array) {
    StrictJniState* s = stateOf(env);
    s->enter("GetArrayLength");
    FakeObject* bytes = s->find(array, Kind::ByteArray);
    if (!bytes) {
        s->violation("GetArrayLength on something that is not a byte[]");
        return 0;
    }
    return static_cast<jsize>(bytes->bytes.size());
}

jbyte* JNICALL getByteArrayElements(JNIEnv* env, jbyteArray array, jboolean* isCopy) {
    StrictJniState* s = stateOf(env);
    s->enter("GetByteArrayElements");
    if (isCopy) s->violation("GetByteArrayElements with an is-copy flag");
    FakeObject* bytes = s->find(array, Kind::ByteArray);
    if (!bytes) {
        s->violation("GetByteArrayElements on something that is not a byte[]");
        return nullptr;
    }
    if (++s->arrayElementsCalls == s->failArrayElementsAt) {
        s->pending = "java/lang/OutOfMemoryError";
        return nullptr;
    }
    // No terminating zero: the library must not read past the length.
    jbyte* elements = static_cast<jbyte*>(std::malloc(bytes->bytes.empty() ? 1 : bytes->bytes.size()));
    if (!bytes->bytes.empty()) std::memcpy(elements, bytes->bytes.data(), bytes->bytes.size());
    s->held.push_back({bytes, elements, false});
    return elements;
}

void JNICALL releaseByteArrayElements(JNIEnv* env, jbyteArray array, jbyte* elements, jint mode) {
    StrictJniState* s = stateOf(env);
    FakeObject* bytes = s->find(array, Kind::ByteArray);
    if (mode != 0) s->violation("ReleaseByteArrayElements with mode " + std::to_string(mode));
    size_t before = s->held.size();
    s->release("ReleaseByteArrayElements", bytes, elements, false);
    if (s->held.size() < before) {
        if (!bytes->bytes.empty()) std::memcpy(bytes->bytes.data(), elements, bytes->bytes.size());
        std::free(elements);
    }
}

jstring JNICALL newStringUTF(JNIEnv* env, const char* bytes) {
    StrictJniState* s = stateOf(env);
    s->enter("NewStringUTF");
    if (!bytes) {
        s->violation("NewStringUTF with null");
        return nullptr;
    }
    if (!s->held.empty()) s->violation("NewStringUTF before every string was released");
    auto value = std::make_unique<FakeObject>();
    value->kind = Kind::String;
    value->text = bytes;
    return reinterpret_cast<jstring>(s->add(std::move(value)));
}

}  // namespace

StrictJniEnv::StrictJniEnv() : state_(new StrictJniState()) {
    StrictJniState& s = *state_;
    constexpr int slotCount = static_cast<int>(sizeof(JNINativeInterface_) / sizeof(void*));
    static_assert(slotCount < 300, "JNI function table larger than expected");
    fillForbidden(reinterpret_cast<void**>(&s.table), slotCount, std::make_integer_sequence<int, 300>());
    s.table.GetObjectClass = getObjectClass;
    s.table.GetFieldID = getFieldID;
    s.table.GetObjectField = getObjectField;
    s.table.GetIntField = getIntField;
    s.table.GetStringUTFChars = getStringUTFChars;
    s.table.ReleaseStringUTFChars = releaseStringUTFChars;
    s.table.GetArrayLength = getArrayLength;
    s.table.GetByteArrayElements = getByteArrayElements;
    s.table.ReleaseByteArrayElements = releaseByteArrayElements;
    s.table.NewStringUTF = newStringUTF;
    s.env.functions = &s.table;
    auto receiver = std::make_unique<FakeObject>();
    receiver->kind = Kind::Receiver;
    s.receiver = s.add(std::move(receiver));
}

StrictJniEnv::~StrictJniEnv() {
    for (const Acquisition& held : state_->held) std::free(held.data);
}

JNIEnv* StrictJniEnv::env() {
    return &state_->env;
}

jobject StrictJniEnv::newRequest(const std::vector<FakeField>& fields) {
    auto declared = std::make_unique<FakeObject>();
    declared->kind = Kind::Class;
    declared->fields = fields;
    FakeObject* cls = state_->add(std::move(declared));
    auto request = std::make_unique<FakeObject>();
    request->kind = Kind::Request;
    request->fields = fields;
    request->original = fields;
    request->objectClass = cls;
    for (const FakeField& field : fields) {
        auto value = std::make_unique<FakeObject>();
        value->kind = field.signature == "[B" ? Kind::ByteArray : Kind::String;
        value->text = field.text;
        value->bytes.assign(field.bytes.begin(), field.bytes.end());
        request->values.push_back(state_->add(std::move(value)));
    }
    return reinterpret_cast<jobject>(state_->add(std::move(request)));
}

jobject StrictJniEnv::receiver() {
    return reinterpret_cast<jobject>(state_->receiver);
}

void StrictJniEnv::failStringBytesAt(int n) {
    state_->stringBytesCalls = 0;
    state_->failStringBytesAt = n;
}

void StrictJniEnv::failArrayElementsAt(int n) {
    state_->arrayElementsCalls = 0;
    state_->failArrayElementsAt = n;
}

std::vector<std::string> StrictJniEnv::finishCall() {
    StrictJniState& s = *state_;
    for (const Acquisition& held : s.held) {
        s.violation(std::string(held.isString ? "string bytes" : "array elements") + " never released");
        std::free(held.data);
    }
    s.held.clear();
    std::vector<std::string> found;
    found.swap(s.violations);
    s.pending.clear();
    s.calls.clear();
    s.stringBytesCalls = s.arrayElementsCalls = 0;
    s.failStringBytesAt = s.failArrayElementsAt = 0;
    return found;
}

std::string StrictJniEnv::pendingException() const {
    return state_->pending;
}

const std::vector<std::string>& StrictJniEnv::calls() const {
    return state_->calls;
}

std::string StrictJniEnv::textOf(jstring text) const {
    FakeObject* string = state_->find(text, Kind::String);
    return string ? string->text : std::string("<not a String>");
}

bool StrictJniEnv::fieldsUnchanged(jobject request) const {
    FakeObject* object = state_->find(request, Kind::Request);
    if (!object) return false;
    for (size_t i = 0; i < object->fields.size(); ++i) {
        const FakeField& now = object->fields[i];
        const FakeField& then = object->original[i];
        const FakeObject* value = object->values[i];
        std::string arrayBytes(value->bytes.begin(), value->bytes.end());
        if (now.isNull != then.isNull || now.intValue != then.intValue || value->text != then.text ||
            (then.signature == "[B" && arrayBytes != then.bytes))
            return false;
    }
    return true;
}
