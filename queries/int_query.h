#pragma once

constexpr int NATIVE_INTERFACE_VERSION = 13;

// "version" answers 13, "isvista" 1 or 0, any other key (or null) the default.
// Keys are compared after ASCII lower-casing, whole string.
int queryIntValue(const char* key, int fallback);

// True on the NT platform with version 6.0 or 6.1.
bool isVista();
