// The compiler may turn struct clears and copies into memset/memcpy calls even
// in a freestanding build; these give it something to link against without a
// C runtime DLL.
#include <stddef.h>

extern "C" void* memset(void* area, int value, size_t size) {
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(area);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(value);
    return area;
}

extern "C" void* memcpy(void* destination, const void* source, size_t size) {
    volatile unsigned char* to = static_cast<volatile unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    for (size_t i = 0; i < size; ++i) to[i] = from[i];
    return destination;
}
