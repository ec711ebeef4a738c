// Linux has no Windows version to report: the call fails, so callers see an
// unreadable version rather than a made-up one.
#include "platform/win_calls.h"

bool getVersionEx(OsVersionRecord*) {
    return false;
}
