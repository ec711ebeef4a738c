#pragma once

// Helpers for NUL-terminated 8-bit strings. They never need the C runtime, so
// the freestanding Windows build can use them as they are.

// Maps ASCII A-Z / a-z in place; other bytes stay. A null pointer is a no-op.
void toLowerInPlace(char* text);
void toUpperInPlace(char* text);

// Number of bytes before the terminating zero; 0 for a null pointer.
int byteLength(const char* text);

// Whole-string, byte-for-byte equality. Null equals nothing.
bool bytesEqual(const char* a, const char* b);

void zeroFill(void* area, int size);
void copyBytes(void* destination, const void* source, int size);

// Zero-fills `capacity` bytes of `destination`, then copies at most
// capacity - 1 bytes of `source`, so the last byte always stays zero.
// Returns true when the whole source fitted. A null source leaves it empty.
bool copyBounded(char* destination, int capacity, const char* source);

// Appends `source` after the text already in `destination`. Returns false,
// leaving `destination` as it was, when the result would not fit `capacity`
// with its terminating zero.
bool appendBounded(char* destination, int capacity, const char* source);

// Appends `value` in decimal (no leading zeros, '-' for negatives); false and
// unchanged when it would not fit.
bool appendDecimal(char* destination, int capacity, int value);
