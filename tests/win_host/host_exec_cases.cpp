// execFunc through the real DLL. Launches start the marker helper (in the
// current directory), which waits as told and then writes "<path>.ran"
// holding the command line it was given; prints go through the shell of the
// Wine prefix, where tests/wine/exec.reg.in gives *.tessalprint files a
// "print" verb that runs the helper on the file (so a print leaves
// "<file>.ran" too) and *.tessalopenonly files an "open" verb only.
//
// Whether something was started is judged by its marker: a call that must
// start nothing uses a command (or file) that would leave a marker if it ran,
// and the marker is looked for after the markers of later calls that did run
// have appeared.
#include <windows.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/win_host/host.h"

namespace {

const int FUNC_LAUNCH = 1;
const int FUNC_PRINT = 2;
const int LAUNCH_LIMIT = 1039;  // longest command line that is started

// One call of the native with m_Param = `param` (nullptr: a null array); checks
// that the request was only read and that the JNI rules were kept.
int callExec(HostContext& host, StrictJniEnv& jni, const std::string* param, int functionId,
             const std::string& what) {
    jobject request = jni.newRequest({param ? byteArrayField("m_Param", *param) : nullByteArrayField("m_Param"),
                                      intField("m_dFuncIDAndReturnCode", functionId)});
    int result = host.natives.execFunc(jni.env(), jni.receiver(), request);
    check(host, jni.fieldsUnchanged(request), what + ": m_Param and m_dFuncIDAndReturnCode unchanged");
    checkJniClean(host, jni, what);
    return result;
}

int callExec(HostContext& host, StrictJniEnv& jni, const std::string& param, int functionId,
             const std::string& what) {
    return callExec(host, jni, &param, functionId, what);
}

// How long a started helper may take to leave its marker: process starts are
// slow under 32-bit emulation.
DWORD markerPatience(const HostContext& host) {
    return host.heavy ? 30000 : 240000;
}

bool waitForFile(const std::string& path, DWORD limitMs) {
    DWORD waited = 0;
    while (!fileExistsAt(path)) {
        if (waited >= limitMs) return false;
        Sleep(100);
        waited += 100;
    }
    return true;
}

// The marker's text once the helper has finished writing it ("" if it never came).
std::string markerText(const HostContext& host, const std::string& marker) {
    if (!waitForFile(marker, markerPatience(host))) return "";
    // The helper writes its command line in one go; give it a moment to close the file.
    std::string text = readWholeFile(marker);
    for (int tries = 0; tries < 50 && text.empty(); ++tries) {
        Sleep(100);
        text = readWholeFile(marker);
    }
    return text;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A command line starting the helper, which leaves "<target>.ran" after `delayMs`.
std::string helperCommand(const HostContext& host, int delayMs, const std::string& target) {
    return host.helperExe + " --delay=" + std::to_string(delayMs) + " " + quoted(target);
}

// The same command, with extra arguments (ignored by the helper) making it exactly `length` bytes long.
std::string helperCommandOfLength(const HostContext& host, const std::string& target, size_t length) {
    std::string command = helperCommand(host, 0, target) + " ";
    while (command.size() < length) command += "x";
    return command;
}

// A directory of its own for this run's markers: the host's work directory
// may be left over from an earlier run (process ids repeat under Wine), and a
// stale marker would pass for one of this run.
std::string freshDirectory(const std::string& parent) {
    for (DWORD n = GetTickCount(), tries = 0; tries < 100; ++n, ++tries) {
        std::string dir = parent + "exec" + std::to_string(n) + "\\";
        if (CreateDirectoryA(dir.c_str(), nullptr)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return "";
}

// ---------------------------------------------------------------------------

void runLaunchStartsWithoutWaiting(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    std::string target = dir + "launch1";
    std::string command = helperCommand(host, 1500, target);
    int result = callExec(host, jni, command, FUNC_LAUNCH, "launch of the helper");
    bool markerAtReturn = fileExistsAt(target + ".ran");
    check(host, result == 0, "launch of the helper = " + std::to_string(result) + " (expected 0)");
    check(host, !markerAtReturn, "launch returns before the helper has finished");
    std::string seen = markerText(host, target + ".ran");
    check(host, !seen.empty(), "the launched helper ran and left its marker");
    check(host, seen == command, "the helper was given the command line unchanged: '" + seen + "'");
}

void runLaunchFailures(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    const std::string missing[] = {
        "tessal_no_such_program.exe " + quoted(dir + "never1"),
        quoted(dir + "no_such_dir\\tessal_no_such_program.exe") + " arg",
        "C:\\tessal\\no\\such\\place\\program.exe",
        "",
        "   ",
    };
    for (const std::string& command : missing) {
        std::string what = "launch of '" + command + "'";
        int result = callExec(host, jni, command, FUNC_LAUNCH, what);
        check(host, result == 1, what + " = " + std::to_string(result) + " (expected 1)");
    }
}

// The launch buffer holds 1039 bytes of command line: exactly that runs, one
// byte more is refused whole (a cut command line would be another command).
void runLaunchLengthLimit(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    std::string tooLongTarget = dir + "long1040";
    std::string tooLong = helperCommandOfLength(host, tooLongTarget, LAUNCH_LIMIT + 1);
    int refused = callExec(host, jni, tooLong, FUNC_LAUNCH, "launch of a 1040-byte command");
    check(host, refused == 1, "launch of a 1040-byte command = " + std::to_string(refused) + " (expected 1)");

    std::string longestTarget = dir + "long1039";
    std::string longest = helperCommandOfLength(host, longestTarget, LAUNCH_LIMIT);
    int started = callExec(host, jni, longest, FUNC_LAUNCH, "launch of a 1039-byte command");
    check(host, started == 0, "launch of a 1039-byte command = " + std::to_string(started) + " (expected 0)");
    std::string seen = markerText(host, longestTarget + ".ran");
    check(host, seen == longest, "the 1039-byte command line reached the helper whole");
    Sleep(1000);
    check(host, !fileExistsAt(tooLongTarget + ".ran"), "the 1040-byte command started nothing");
}

// A zero byte ends the command text; what follows it is never seen.
void runZeroByteEndsCommand(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    std::string target = dir + "z";
    std::string command = helperCommand(host, 0, target);
    std::string param = command + std::string("\0", 1) + " garbage \"" + dir + "garbage\"";
    int result = callExec(host, jni, param, FUNC_LAUNCH, "launch with a zero byte inside m_Param");
    check(host, result == 0, "launch with a zero byte inside m_Param = " + std::to_string(result));
    std::string seen = markerText(host, target + ".ran");
    check(host, seen == command, "the helper saw only the text before the zero byte: '" + seen + "'");

    // A zero byte first: no command at all, so nothing starts.
    std::string leading = std::string("\0", 1) + helperCommand(host, 0, dir + "zfirst");
    int empty = callExec(host, jni, leading, FUNC_LAUNCH, "launch with a zero byte first");
    check(host, empty == 1, "launch with a zero byte first = " + std::to_string(empty) + " (expected 1)");
}

// Unknown function IDs answer -2 and start nothing, even with a command that
// would run. Returns the markers that must never appear.
std::vector<std::string> runUnknownFunctions(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    std::vector<std::string> markers;
    const int ids[] = {0, 3, -1, -2, INT_MIN, INT_MAX};
    int n = 0;
    for (int id : ids) {
        std::string target = dir + "unknown" + std::to_string(n++);
        std::string what = "execFunc with ID " + std::to_string(id);
        int result = callExec(host, jni, helperCommand(host, 0, target), id, what);
        check(host, result == -2, what + " = " + std::to_string(result) + " (expected -2)");
        markers.push_back(target + ".ran");
    }
    return markers;
}

void runNullParam(HostContext& host, StrictJniEnv& jni) {
    const int ids[] = {FUNC_LAUNCH, FUNC_PRINT, 0, 3, -1};
    for (int id : ids) {
        std::string what = "null m_Param with ID " + std::to_string(id);
        int result = callExec(host, jni, nullptr, id, what);
        check(host, result == -1, what + " = " + std::to_string(result) + " (expected -1)");
    }
}

// Returns the markers that must never appear.
std::vector<std::string> runPrintCases(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    std::vector<std::string> neverMarkers;

    // Missing files: the shell's own code, at most 32.
    const std::string missing[] = {
        dir + "missing.tessalprint",
        dir + "no_such_dir\\missing.tessalprint",
    };
    for (const std::string& path : missing) {
        std::string what = "print of missing '" + path + "'";
        int result = callExec(host, jni, path, FUNC_PRINT, what);
        std::printf("ShellExecuteA print of a missing file (%s) answered %d\n", path.c_str(), result);
        check(host, result >= 1 && result <= 32, what + " = " + std::to_string(result) + " (expected 1..32)");
        neverMarkers.push_back(path + ".ran");
    }

    // A document whose type has a print verb: the verb's command runs.
    std::string document = dir + "doc1.tessalprint";
    writeWholeFile(document, "a document\r\n");
    int printed = callExec(host, jni, document, FUNC_PRINT, "print of a .tessalprint document");
    std::printf("ShellExecuteA print of a registered document answered %d\n", printed);
    check(host, printed == 0, "print of a .tessalprint document = " + std::to_string(printed) + " (expected 0)");
    std::string seen = markerText(host, document + ".ran");
    check(host, !seen.empty(), "the print verb ran the helper on the document");
    check(host, seen.find(document) != std::string::npos, "the print verb was given the document: '" + seen + "'");

    // A zero byte ends the path as well.
    std::string second = dir + "doc2.tessalprint";
    writeWholeFile(second, "another document\r\n");
    std::string param = second + std::string("\0", 1) + ".ignored";
    int cut = callExec(host, jni, param, FUNC_PRINT, "print with a zero byte inside m_Param");
    check(host, cut == 0, "print with a zero byte inside m_Param = " + std::to_string(cut) + " (expected 0)");
    check(host, !markerText(host, second + ".ran").empty(), "the document before the zero byte was printed");

    // Types without a print verb: Wine's answer is reported; a success must have run something.
    const char* const unprintable[] = {"doc3.tessalopenonly", "doc4.tessalnoprint"};
    for (const char* name : unprintable) {
        std::string path = dir + name;
        writeWholeFile(path, "no print verb\r\n");
        std::string what = std::string("print of ") + name;
        int result = callExec(host, jni, path, FUNC_PRINT, what);
        std::printf("ShellExecuteA print of %s answered %d\n", name, result);
        check(host, result >= 0 && result <= 32, what + " = " + std::to_string(result) + " (expected 0..32)");
        if (result == 0) check(host, !markerText(host, path + ".ran").empty(), what + ": a success ran the helper");
        else neverMarkers.push_back(path + ".ran");
    }
    return neverMarkers;
}

// Launches in a row: each answers 0 and each helper runs.
void runManyLaunches(HostContext& host, StrictJniEnv& jni, const std::string& dir) {
    const int launches = 20;
    int started = 0;
    for (int i = 0; i < launches; ++i) {
        std::string target = dir + "many" + std::to_string(i);
        if (callExec(host, jni, helperCommand(host, 0, target), FUNC_LAUNCH, "launch " + std::to_string(i)) == 0)
            ++started;
    }
    check(host, started == launches, std::to_string(started) + " of " + std::to_string(launches) + " launches started");
    int ran = 0;
    for (int i = 0; i < launches; ++i) {
        if (waitForFile(dir + "many" + std::to_string(i) + ".ran", markerPatience(host))) ++ran;
    }
    check(host, ran == launches, std::to_string(ran) + " of " + std::to_string(launches) + " launched helpers ran");
}

}  // namespace

void runExecCases(HostContext& host) {
    StrictJniEnv jni;
    std::string dir = freshDirectory(host.workDir);
    check(host, !dir.empty(), "a fresh directory for the markers under " + host.workDir);
    if (dir.empty()) return;
    check(host, !host.helperExe.empty() && fileExistsAt(host.helperExe), "the marker helper is in the current directory");

    std::vector<std::string> neverMarkers = runUnknownFunctions(host, jni, dir);
    runNullParam(host, jni);
    runLaunchFailures(host, jni, dir);
    neverMarkers.push_back(dir + "never1.ran");
    neverMarkers.push_back(dir + "zfirst.ran");
    runLaunchStartsWithoutWaiting(host, jni, dir);
    runLaunchLengthLimit(host, jni, dir);
    runZeroByteEndsCommand(host, jni, dir);
    std::vector<std::string> printNever = runPrintCases(host, jni, dir);
    neverMarkers.insert(neverMarkers.end(), printNever.begin(), printNever.end());
    if (host.heavy) runManyLaunches(host, jni, dir);

    // By now every helper that was started has long left its marker.
    for (const std::string& marker : neverMarkers) {
        check(host, !fileExistsAt(marker), "nothing ran for " + marker);
    }
    check(host, !fileExistsAt(dir + "garbage.ran"), "the text after a zero byte never ran");
}
