#include "shell/executable_lookup.h"

#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "platform/win_calls.h"

namespace {

bool isAcceptedExtension(const char* extension) {
    if (!extension) return false;
    if (byteLength(extension) < 3) return false;
    return extension[0] == '.' && extension[1] != ' ';
}

// directory + number + extension, whole or not at all.
bool buildProbeName(char* name, const char* directory, int number, const char* extension) {
    zeroFill(name, NAME_BUFFER_SIZE);
    return appendBounded(name, NAME_BUFFER_SIZE, directory) && appendDecimal(name, NAME_BUFFER_SIZE, number) &&
           appendBounded(name, NAME_BUFFER_SIZE, extension);
}

// Asks the shell which program opens `file`. `out` is cleared first so that
// only what this query writes can count as an answer; an answer without its
// terminating zero inside the buffer is no answer.
bool askShell(const char* file, char* out) {
    zeroFill(out, RESULT_BUFFER_SIZE);
    findExecutable(file, nullptr, out);
    if (out[RESULT_BUFFER_SIZE - 1] != '\0') {
        zeroFill(out, RESULT_BUFFER_SIZE);
        return false;
    }
    return out[0] != '\0';
}

bool tempDirectory(char* directory) {
    zeroFill(directory, NAME_BUFFER_SIZE);
    uint32_t length = getTempPath(NAME_BUFFER_SIZE, directory);
    if (length == 0 || length >= static_cast<uint32_t>(NAME_BUFFER_SIZE) || directory[0] == '\0') {
        zeroFill(directory, NAME_BUFFER_SIZE);
        return false;
    }
    directory[NAME_BUFFER_SIZE - 1] = '\0';
    return true;
}

}  // namespace

bool fileExists(const char* path) {
    if (!path) return false;
    return getFileAttributes(path) != NO_FILE_ATTRIBUTES;
}

bool probeDirectory(const char* extension, const char* directory, char* out) {
    if (!extension || !directory || !out) return false;
    char name[NAME_BUFFER_SIZE];
    for (int number = 0; number < PROBE_NAME_LIMIT; ++number) {
        if (!buildProbeName(name, directory, number, extension)) return false;
        if (fileExists(name)) {
            // Someone else's file: ask about it, never touch it.
            if (askShell(name, out)) return true;
            continue;
        }
        CreateFileOutcome outcome = createNewFile(name, PROBE_TEXT, PROBE_TEXT_SIZE);
        bool answered = askShell(name, out);
        if (outcome == FILE_CREATED) {
            deleteFile(name);
            return answered;
        }
        // The name was taken between the test and the creation: that file is
        // not ours, so it is treated like any existing one.
        if (outcome == FILE_NAME_TAKEN) {
            if (answered) return true;
            continue;
        }
        // Nothing could be created here; the question was asked all the same.
        return answered;
    }
    return false;
}

bool getHostExecutableDir(char* out, int capacity) {
    if (!out || capacity <= 0) return false;
    zeroFill(out, capacity);
    char path[PATH_BUFFER_SIZE];
    zeroFill(path, PATH_BUFFER_SIZE);
    uint32_t length = getModuleFileName(path, PATH_BUFFER_SIZE);
    // A return of the full capacity means the path was cut: its directory
    // part could name another directory.
    if (length == 0 || length >= static_cast<uint32_t>(PATH_BUFFER_SIZE)) return false;
    path[length] = '\0';

    // Drive ("C:") and directory part (up to and including the last '\' or
    // '/'), joined: together they are the path's leading bytes.
    int drive = (path[0] != '\0' && path[1] == ':') ? 2 : 0;
    int keep = drive;
    for (int i = drive; path[i] != '\0'; ++i) {
        if (path[i] == '\\' || path[i] == '/') keep = i + 1;
    }
    if (keep == 0) return false;
    char directory[PATH_BUFFER_SIZE];
    zeroFill(directory, PATH_BUFFER_SIZE);
    copyBytes(directory, path, keep);
    if (!copyBounded(out, capacity, directory)) {
        zeroFill(out, capacity);
        return false;
    }
    return true;
}

bool findExecutableForExtension(const char* extension, const char* localDirectory, char* out) {
    if (!out) return false;
    zeroFill(out, RESULT_BUFFER_SIZE);
    if (!isAcceptedExtension(extension)) return false;

    if (localDirectory && localDirectory[0] != '\0' && probeDirectory(extension, localDirectory, out)) return true;

    char directory[NAME_BUFFER_SIZE];
    if (tempDirectory(directory) && probeDirectory(extension, directory, out)) return true;

    if (getHostExecutableDir(directory, NAME_BUFFER_SIZE) && probeDirectory(extension, directory, out)) return true;

    zeroFill(out, RESULT_BUFFER_SIZE);
    return false;
}
