// getIntValue through the real DLL.
#include <cstdio>

#include "tests/win_host/host.h"

static int askInt(HostContext& host, StrictJniEnv& jni, const std::vector<FakeField>& fields, const std::string& what) {
    jobject request = jni.newRequest(fields);
    int answer = host.natives.getIntValue(jni.env(), jni.receiver(), request);
    check(host, jni.fieldsUnchanged(request), what + ": request unchanged");
    return answer;
}

void runIntCases(HostContext& host) {
    StrictJniEnv jni;
    struct Case {
        const char* key;
        int fallback;
        int expected;
    } cases[] = {
        {"version", 0, 13}, {"Version", -1, 13}, {"VERSION", 7, 13}, {" version", 7, 7},
        {"version ", -7, -7}, {"", 42, 42}, {"unknown", -2147483647 - 1, -2147483647 - 1},
    };
    for (const Case& c : cases) {
        std::string what = std::string("getIntValue('") + c.key + "', " + std::to_string(c.fallback) + ")";
        int answer = askInt(host, jni, {stringField("m_strKey", c.key), intField("m_dDefault", c.fallback)}, what);
        check(host, answer == c.expected, what + " = " + std::to_string(answer));
        checkJniClean(host, jni, what);
    }

    int isVista = askInt(host, jni, {stringField("m_strKey", "IsVista"), intField("m_dDefault", 5)}, "isvista");
    checkJniClean(host, jni, "isvista");
    std::printf("isvista answers %d (expected %d)\n", isVista, host.expectIsVista);
    if (host.expectIsVista >= 0) check(host, isVista == host.expectIsVista, "isvista matches the prefix's Windows version");
    else check(host, isVista == 0 || isVista == 1, "isvista is 0 or 1");

    int nullKey = askInt(host, jni, {nullStringField("m_strKey"), intField("m_dDefault", -77)}, "null key");
    check(host, nullKey == -77, "null key answers the default");
    checkJniClean(host, jni, "null key");

    // A request without m_dDefault: no answer, NoSuchFieldError left for the caller, nothing leaked.
    jobject broken = jni.newRequest({stringField("m_strKey", "version")});
    int answer = host.natives.getIntValue(jni.env(), jni.receiver(), broken);
    check(host, answer == 0 && jni.pendingException() == "java/lang/NoSuchFieldError",
          "missing m_dDefault leaves NoSuchFieldError pending");
    checkJniClean(host, jni, "missing m_dDefault");
}
