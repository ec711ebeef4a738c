#include "queries/int_query.h"

#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "platform/win_calls.h"

int queryIntValue(const char* key, int fallback) {
    if (!key) return fallback;
    char lowered[PATH_BUFFER_SIZE];
    // A longer key is cut to 259 bytes, which can never equal a known key.
    copyBounded(lowered, PATH_BUFFER_SIZE, key);
    toLowerInPlace(lowered);
    if (bytesEqual(lowered, "version")) return NATIVE_INTERFACE_VERSION;
    if (bytesEqual(lowered, "isvista")) return isVista() ? 1 : 0;
    return fallback;
}

bool isVista() {
    OsVersionRecord version;
    zeroFill(&version, sizeof version);
    version.size = OS_VERSION_RECORD_EX_SIZE;
    if (!getVersionEx(&version)) {
        // Systems that only know the short record refuse the extended size.
        version.size = OS_VERSION_RECORD_SIZE;
        if (!getVersionEx(&version)) return false;
    }
    return version.platformId == PLATFORM_WIN32_NT && version.majorVersion == 6 &&
           (version.minorVersion == 0 || version.minorVersion == 1);
}
