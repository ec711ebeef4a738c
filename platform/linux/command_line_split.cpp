#include "platform/linux/command_line_split.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Appends one byte to the argument being built; false when the text is full
// (one byte is always kept for the argument's terminating zero).
bool putByte(SplitCommandLine* split, int* used, char c) {
    if (*used >= SPLIT_TEXT_SIZE - 1) return false;
    split->text[(*used)++] = c;
    return true;
}

// Ends the argument being built with its zero, which may take the very last byte.
bool endArgument(SplitCommandLine* split, int* used) {
    if (*used >= SPLIT_TEXT_SIZE) return false;
    split->text[(*used)++] = '\0';
    return true;
}

bool startArgument(SplitCommandLine* split, int used) {
    if (split->count >= SPLIT_MAX_ARGUMENTS || used >= SPLIT_TEXT_SIZE) return false;
    split->arguments[split->count++] = split->text + used;
    return true;
}

bool fail(SplitCommandLine* split) {
    split->count = 0;
    split->arguments[0] = nullptr;
    return false;
}

}  // namespace

bool splitCommandLine(const char* commandLine, SplitCommandLine* split) {
    for (int i = 0; i < SPLIT_TEXT_SIZE; ++i) split->text[i] = '\0';
    for (int i = 0; i <= SPLIT_MAX_ARGUMENTS; ++i) split->arguments[i] = nullptr;
    split->count = 0;
    if (!commandLine) return fail(split);

    const char* p = commandLine;
    int used = 0;

    // The program name.
    while (isBlank(*p)) ++p;
    if (!startArgument(split, used)) return fail(split);
    bool quoted = false;
    while (*p && (quoted || !isBlank(*p))) {
        if (*p == '"') {
            quoted = !quoted;
        } else if (!putByte(split, &used, *p)) {
            return fail(split);
        }
        ++p;
    }
    if (used == 0) return fail(split);  // nothing to start
    if (!endArgument(split, &used)) return fail(split);

    // The arguments.
    for (;;) {
        while (isBlank(*p)) ++p;
        if (!*p) break;
        if (!startArgument(split, used)) return fail(split);
        quoted = false;
        for (;;) {
            int backslashes = 0;
            while (*p == '\\') {
                ++backslashes;
                ++p;
            }
            bool literalQuote = false;
            if (*p == '"') {
                if (backslashes % 2 == 1) {
                    literalQuote = true;
                } else if (quoted && p[1] == '"') {
                    literalQuote = true;  // "" inside quotes; the part stays open
                    ++p;
                } else {
                    quoted = !quoted;
                }
                backslashes /= 2;
            }
            for (int i = 0; i < backslashes; ++i) {
                if (!putByte(split, &used, '\\')) return fail(split);
            }
            if (literalQuote) {
                if (!putByte(split, &used, '"')) return fail(split);
                ++p;
                continue;
            }
            if (!*p || (!quoted && isBlank(*p))) break;
            if (*p != '"' && !putByte(split, &used, *p)) return fail(split);
            ++p;
        }
        if (!endArgument(split, &used)) return fail(split);
    }
    split->arguments[split->count] = nullptr;
    return true;
}
