#pragma once
// Splits a Windows command line into an argument vector, the way a program
// built with the Microsoft C runtime (2008 and later) sees its argv.
//
// The program name (first argument):
//   - leading spaces and tabs are skipped;
//   - it ends at the first space or tab outside double quotes;
//   - a double quote toggles quoting and is dropped; backslashes are plain
//     bytes (a program path cannot contain a quote).
// Every later argument:
//   - arguments are separated by runs of spaces and tabs outside quotes;
//   - 2n backslashes followed by a quote give n backslashes, and the quote
//     opens or closes a quoted part;
//   - 2n+1 backslashes followed by a quote give n backslashes and a literal quote;
//   - backslashes not followed by a quote are literal;
//   - inside a quoted part, two quotes in a row give one literal quote and
//     the part stays open (the 2008 C runtime rule; older runtimes and
//     CommandLineToArgvW close the part instead);
//   - a quoted part may be empty: "" is an empty argument;
//   - the end of the text closes an open quoted part.

constexpr int SPLIT_TEXT_SIZE = 1040;     // argument bytes, each with its terminating zero
constexpr int SPLIT_MAX_ARGUMENTS = 256;

struct SplitCommandLine {
    char text[SPLIT_TEXT_SIZE];
    char* arguments[SPLIT_MAX_ARGUMENTS + 1];  // null after the last argument, as execve wants
    int count;
};

// Fills `split` from `commandLine`. False, with no arguments, when the line
// is null, holds no program name, or its arguments do not fit the text
// buffer or SPLIT_MAX_ARGUMENTS; nothing is ever cut.
bool splitCommandLine(const char* commandLine, SplitCommandLine* split);
