#include "shell/executable_lookup.h"

bool findExecutableForExtension(const char*, const char*, char*) {
    return false;
}
