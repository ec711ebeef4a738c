// The program registered for a file, answered as the Linux desktop answers it:
// the content type that the freedesktop shared MIME database gives the file's
// name, then that type's default application from mimeapps.list and the
// installed .desktop files, through GIO. The answer is the full path of the
// application's executable.
//
// Only the name decides, as the extension alone decides on Windows: the
// question is which program opens files of this extension, and the file is
// often a probe whose text says nothing about the type. Sniffing its bytes
// would make every unregistered extension "text/plain" and answer the text
// editor.
//
// Return values follow FindExecutableA: 42 (> 32) with the path in `result`,
// 2 when the file does not exist, 31 when no program with a resolvable
// executable is registered for its type (also when its path would not fit
// `result`: a cut path would name another file). `result` is empty on every
// answer but success.
//
// The content type is guessed from the name directly rather than through a
// GFile, so no GVfs module and no D-Bus connection is involved.
#include <gio/gio.h>
#include <string.h>
#include <sys/stat.h>

#include "common/buffer_sizes.h"
#include "platform/win_calls.h"

namespace {

constexpr intptr_t FOUND = 42;
constexpr intptr_t FILE_NOT_FOUND = 2;   // SE_ERR_FNF
constexpr intptr_t NO_ASSOCIATION = 31;  // SE_ERR_NOASSOC

// Newly allocated content type registered for the file's name (g_free it),
// or null when no glob of the MIME database matches the name.
gchar* contentTypeOf(const char* file) {
    gchar* type = g_content_type_guess(file, nullptr, 0, nullptr);
    if (type && g_content_type_is_unknown(type)) {
        g_free(type);
        return nullptr;
    }
    return type;
}

// Full path of the default application's executable for `type` (g_free it), or null.
gchar* defaultProgramFor(const gchar* type) {
    GAppInfo* application = g_app_info_get_default_for_type(type, FALSE);
    if (!application) return nullptr;
    gchar* program = nullptr;
    const char* executable = g_app_info_get_executable(application);
    if (executable && *executable) {
        program = g_path_is_absolute(executable) ? g_strdup(executable) : g_find_program_in_path(executable);
    }
    g_object_unref(application);
    return program;
}

}  // namespace

intptr_t findExecutable(const char* file, const char*, char* result) {
    if (!result) return NO_ASSOCIATION;
    result[0] = '\0';
    struct stat info;
    if (!file || !*file || stat(file, &info) != 0) return FILE_NOT_FOUND;

    gchar* type = contentTypeOf(file);
    if (!type) return NO_ASSOCIATION;
    gchar* program = defaultProgramFor(type);
    g_free(type);
    if (!program) return NO_ASSOCIATION;

    size_t length = strlen(program);
    bool fits = length > 0 && length < static_cast<size_t>(RESULT_BUFFER_SIZE);
    if (fits) {
        memcpy(result, program, length);
        result[length] = '\0';
    }
    g_free(program);
    return fits ? FOUND : NO_ASSOCIATION;
}
