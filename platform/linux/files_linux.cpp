// Files and paths on Linux: the temporary directory from TMPDIR (else /tmp/),
// the host executable from /proc/self/exe, real file operations.
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win_calls.h"

uint32_t getTempPath(uint32_t capacity, char* buffer) {
    const char* directory = getenv("TMPDIR");
    if (!directory || !*directory) directory = "/tmp";
    size_t length = strlen(directory);
    bool needsSeparator = directory[length - 1] != '/';
    size_t needed = length + (needsSeparator ? 1 : 0);
    if (needed + 1 > capacity) return static_cast<uint32_t>(needed + 1);
    memcpy(buffer, directory, length);
    if (needsSeparator) buffer[length] = '/';
    buffer[needed] = '\0';
    return static_cast<uint32_t>(needed);
}

uint32_t getModuleFileName(char* buffer, uint32_t capacity) {
    if (capacity == 0) return 0;
    ssize_t length = readlink("/proc/self/exe", buffer, capacity);
    if (length < 0) {
        buffer[0] = '\0';
        return 0;
    }
    // Like the Windows call: a path that does not fit comes back cut, with the full capacity as its length.
    if (static_cast<uint32_t>(length) >= capacity) {
        buffer[capacity - 1] = '\0';
        return capacity;
    }
    buffer[length] = '\0';
    return static_cast<uint32_t>(length);
}

uint32_t getFileAttributes(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0) return NO_FILE_ATTRIBUTES;
    return S_ISDIR(info.st_mode) ? 0x10u : 0x80u;  // FILE_ATTRIBUTE_DIRECTORY / _NORMAL
}

CreateFileOutcome createNewFile(const char* path, const char* content, int size) {
    int file = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (file < 0) return errno == EEXIST ? FILE_NAME_TAKEN : FILE_NOT_CREATED;
    ssize_t written = 0;
    while (written < size) {
        ssize_t step = write(file, content + written, static_cast<size_t>(size - written));
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) break;
        written += step;
    }
    close(file);
    return FILE_CREATED;
}

bool deleteFile(const char* path) {
    return unlink(path) == 0;
}
