// New processes, printing and the beep on Linux.
//
// A new process is started detached, so that it never becomes a zombie of the
// host process and nobody has to wait for it: a short-lived intermediate,
// created with clone(CLONE_VM | CLONE_VFORK) on a stack area of the caller's
// frame (no copy of the host's memory, the caller is suspended meanwhile),
// starts the program with posix_spawnp and exits at once. The caller reaps the
// intermediate; the program is adopted by init (or the nearest subreaper),
// which reaps it when it ends. posix_spawnp reports a program that cannot be
// executed synchronously, and the intermediate hands that answer back through
// the shared memory. The intermediate has no exit signal (so no SIGCHLD
// reaches the host and no other wait in the host can take it) and runs with
// every signal blocked, so none of the host's signal handlers can run in it.
// The program starts with no signal blocked (the host's threads block signals
// for their own reasons, a new program should not inherit that); signals the
// host ignores stay ignored, as across any exec. No signal disposition of the
// host is ever changed.
#include <errno.h>
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/command_line_split.h"
#include "platform/win_calls.h"

namespace {

constexpr int INTERMEDIATE_STACK_SIZE = 32 * 1024;
constexpr int FILE_NAME_SIZE = 4096 + 3;  // PATH_MAX, "./" and the zero
constexpr intptr_t SHELL_STARTED = 42;  // any value above 32 means success
constexpr intptr_t SHELL_FILE_NOT_FOUND = 2;  // SE_ERR_FNF
constexpr intptr_t SHELL_ACCESS_DENIED = 5;   // SE_ERR_ACCESSDENIED
constexpr intptr_t SHELL_NO_ASSOCIATION = 31; // SE_ERR_NOASSOC

struct DetachedStart {
    char* const* arguments;  // arguments[0] is the program, searched in PATH
    const posix_spawn_file_actions_t* actions;
    const posix_spawnattr_t* attributes;
    int error;  // written by the intermediate: posix_spawnp's answer
    pid_t pid;  // written by the intermediate: the program's process id
};

int runIntermediate(void* argument) {
    DetachedStart* start = static_cast<DetachedStart*>(argument);
    pid_t pid = 0;
    start->error = posix_spawnp(&pid, start->arguments[0], start->actions, start->attributes,
                                start->arguments, environ);
    start->pid = pid;
    _exit(0);
}

// Starts the program with `arguments` (null-terminated) without a shell and
// without waiting for it. The program inherits the environment, the current
// directory and descriptors 0 to 2 (with `silent`, 1 and 2 go to /dev/null);
// every other descriptor is closed in it. True when it was started.
bool startDetached(char* const* arguments, bool silent, pid_t* started) {
    *started = 0;
    if (!arguments || !arguments[0] || !arguments[0][0]) return false;

    sigset_t everything;
    sigset_t nothing;
    sigset_t callerMask;
    sigfillset(&everything);
    sigemptyset(&nothing);
    if (pthread_sigmask(SIG_BLOCK, &everything, &callerMask) != 0) return false;

    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    bool haveAttributes = posix_spawnattr_init(&attributes) == 0;
    bool haveActions = posix_spawn_file_actions_init(&actions) == 0;
    bool ready = haveAttributes && haveActions;
    if (ready) {
        ready = posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK) == 0 &&
                posix_spawnattr_setsigmask(&attributes, &nothing) == 0;
    }
    if (ready && silent) {
        ready = posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0) == 0 &&
                posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0) == 0;
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    if (ready) ready = posix_spawn_file_actions_addclosefrom_np(&actions, 3) == 0;
#endif

    bool result = false;
    if (ready) {
        DetachedStart start;
        start.arguments = arguments;
        start.actions = &actions;
        start.attributes = &attributes;
        start.error = ECHILD;  // stays so if the intermediate never ran
        start.pid = 0;
        alignas(16) char stack[INTERMEDIATE_STACK_SIZE];
        pid_t intermediate = clone(runIntermediate, stack + sizeof stack, CLONE_VM | CLONE_VFORK, &start);
        if (intermediate > 0) {
            // CLONE_VFORK: the intermediate has already exited (or is just exiting).
            while (waitpid(intermediate, nullptr, __WALL) < 0 && errno == EINTR) {
            }
            result = start.error == 0 && start.pid > 0;
            if (result) *started = start.pid;
        }
    }

    if (haveActions) posix_spawn_file_actions_destroy(&actions);
    if (haveAttributes) posix_spawnattr_destroy(&attributes);
    pthread_sigmask(SIG_SETMASK, &callerMask, nullptr);
    return result;
}

}  // namespace

// The command line is split by the Windows rules (see command_line_split.h)
// and its first argument is searched in PATH like execvp does; a name with a
// slash is taken as it is. No shell is involved. The handles carry the new
// process id for information only: there is nothing to close.
bool createProcess(char* commandLine, ProcessHandles* handles) {
    handles->process = nullptr;
    handles->thread = nullptr;
    SplitCommandLine split;
    if (!splitCommandLine(commandLine, &split)) return false;
    pid_t pid = 0;
    if (!startDetached(split.arguments, false, &pid)) return false;
    handles->process = reinterpret_cast<void*>(static_cast<intptr_t>(pid));
    handles->thread = handles->process;
    return true;
}

// The started process was handed over to init already; a handle holds nothing.
void closeHandle(void*) {}

// A bell on the controlling terminal when there is one; frequency and length
// are not under our control there. Never written to standard output.
void beep(uint32_t, uint32_t) {
    int terminal = open("/dev/tty", O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (terminal < 0) return;
    ssize_t written = write(terminal, "\a", 1);
    (void)written;
    close(terminal);
}

// Only the "print" verb is known: the file goes to the CUPS print command
// `lp`, found in PATH, whose output is discarded. The answer follows the
// shell's codes: 2 for a missing file, 5 when it cannot be looked at, 31 for a
// directory, another verb, or no `lp` that could be started, else 42 as soon
// as `lp` runs (it is not waited for).
intptr_t shellExecute(const char* verb, const char* file, int) {
    if (!verb || strcasecmp(verb, "print") != 0) return SHELL_NO_ASSOCIATION;
    if (!file || !file[0]) return SHELL_FILE_NOT_FOUND;
    struct stat status;
    if (stat(file, &status) != 0) return errno == EACCES ? SHELL_ACCESS_DENIED : SHELL_FILE_NOT_FOUND;
    if (S_ISDIR(status.st_mode)) return SHELL_NO_ASSOCIATION;

    // A name starting with '-' would be read as an option of lp.
    char name[FILE_NAME_SIZE];
    size_t length = strlen(file);
    size_t prefix = file[0] == '-' ? 2 : 0;
    if (length + prefix >= sizeof name) return SHELL_FILE_NOT_FOUND;
    memcpy(name, "./", prefix);
    memcpy(name + prefix, file, length + 1);

    char program[] = "lp";
    char* arguments[] = {program, name, nullptr};
    pid_t pid = 0;
    return startDetached(arguments, true, &pid) ? SHELL_STARTED : SHELL_NO_ASSOCIATION;
}
