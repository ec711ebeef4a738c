#include "common/byte_string.h"

void toLowerInPlace(char* text) {
    if (!text) return;
    for (; *text; ++text) {
        if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
    }
}

void toUpperInPlace(char* text) {
    if (!text) return;
    for (; *text; ++text) {
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
    }
}

int byteLength(const char* text) {
    if (!text) return 0;
    int length = 0;
    while (text[length]) ++length;
    return length;
}

bool bytesEqual(const char* a, const char* b) {
    if (!a || !b) return false;
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

void zeroFill(void* area, int size) {
    // volatile keeps the compiler from turning this loop into a memset call,
    // which the freestanding build has no library for.
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(area);
    for (int i = 0; i < size; ++i) bytes[i] = 0;
}

void copyBytes(void* destination, const void* source, int size) {
    volatile unsigned char* to = static_cast<volatile unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    for (int i = 0; i < size; ++i) to[i] = from[i];
}

bool copyBounded(char* destination, int capacity, const char* source) {
    if (!destination || capacity <= 0) return false;
    zeroFill(destination, capacity);
    if (!source) return true;
    int i = 0;
    for (; i < capacity - 1 && source[i]; ++i) destination[i] = source[i];
    return source[i] == '\0';
}

bool appendBounded(char* destination, int capacity, const char* source) {
    if (!destination || capacity <= 0) return false;
    int used = byteLength(destination);
    int added = byteLength(source);
    if (used + added > capacity - 1) return false;
    copyBytes(destination + used, source, added);
    destination[used + added] = '\0';
    return true;
}

bool appendDecimal(char* destination, int capacity, int value) {
    char digits[16];
    int count = 0;
    // Work on the negative side so that the most negative int needs no special case.
    int rest = value < 0 ? value : -value;
    do {
        digits[count++] = static_cast<char>('0' - rest % 10);
        rest /= 10;
    } while (rest != 0);
    char text[16];
    int length = 0;
    if (value < 0) text[length++] = '-';
    while (count > 0) text[length++] = digits[--count];
    text[length] = '\0';
    return appendBounded(destination, capacity, text);
}
