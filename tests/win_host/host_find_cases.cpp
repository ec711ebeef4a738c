// findExecutable through the real DLL, against the shell of the Wine prefix:
// ".txt" answers Wine's notepad (Wine defines the class, tests/wine/find.reg.in
// maps the extension to it), ".tessalfind" the marker helper (find.reg.in),
// ".tessalnofind" nothing.
//
// Besides the answers, every case checks what the lookup did to the file
// system: files that were there before keep their bytes, size and time,
// no probe file is left in the local, the temporary or the host executable's
// directory, and a directory's last-write time tells whether a probe was
// created in it at all (creating and deleting a file moves it, asking about
// an existing file does not).
#include <windows.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/win_host/host.h"

namespace {

const char* const KNOWN_EXT = ".tessalfind";
const char* const UNKNOWN_EXT = ".tessalnofind";
const char* const UNKNOWN_EXT_TOO = ".tessalnofind2";

struct Answer {
    bool isNull = true;
    std::string text;
};

std::string shown(const Answer& answer) {
    return answer.isNull ? std::string("null") : "\"" + answer.text + "\"";
}

FakeField optionalString(const char* name, const char* value) {
    return value ? stringField(name, value) : nullStringField(name);
}

// One call of the native; checks the JNI rules and that the request was only read.
Answer askFind(HostContext& host, StrictJniEnv& jni, const char* localDir, const char* ext1, const char* ext2,
               const std::string& what) {
    jobject request = jni.newRequest({optionalString("m_strLocalDir", localDir),
                                      optionalString("m_strFileExt1", ext1), optionalString("m_strFileExt2", ext2)});
    jstring result = host.natives.findExecutable(jni.env(), jni.receiver(), request);
    Answer answer;
    if (result) {
        answer.isNull = false;
        answer.text = jni.textOf(result);
    }
    check(host, jni.fieldsUnchanged(request), what + ": request unchanged");
    checkJniClean(host, jni, what);
    return answer;
}

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool endsWithNoCase(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && lowered(text.substr(text.size() - tail.size())) == lowered(tail);
}

uint64_t lastWriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

// What a pre-existing file must still be after a lookup.
struct FileState {
    std::string path;
    std::string bytes;
    uint64_t written;
};

FileState placeFile(const std::string& path, const std::string& bytes) {
    writeWholeFile(path, bytes);
    return FileState{path, bytes, lastWriteTime(path)};
}

bool unchanged(const FileState& file) {
    return readWholeFile(file.path) == file.bytes && lastWriteTime(file.path) == file.written;
}

// Bytes no probe would hold: zeros, a CR LF, high bytes.
std::string userBytes(const std::string& tag) {
    return "user file " + tag + std::string("\r\n\0\xF6\xFF\x01 keep", 11);
}

// Names in `directory` that have the form of a probe: digits, then one of the test extensions.
std::set<std::string> probeLikeNames(const std::string& directory) {
    std::set<std::string> names;
    for (const std::string& name : listFiles(directory)) {
        size_t digits = 0;
        while (digits < name.size() && std::isdigit(static_cast<unsigned char>(name[digits]))) ++digits;
        if (digits == 0) continue;
        std::string extension = lowered(name.substr(digits));
        if (extension == ".txt" || extension == KNOWN_EXT || extension == UNKNOWN_EXT ||
            extension == UNKNOWN_EXT_TOO) {
            names.insert(name);
        }
    }
    return names;
}

std::string temporaryDirectory() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof temp, temp);
    return temp;
}

std::string hostExecutableDirectory() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

// The program of HKCR\<extension>'s open command: its first (quoted) word.
std::string registeredProgram(const char* extension) {
    char type[MAX_PATH] = {};
    LONG size = sizeof type;
    if (RegQueryValueA(HKEY_CLASSES_ROOT, extension, type, &size) != ERROR_SUCCESS || !type[0]) return "";
    char command[1024] = {};
    size = sizeof command;
    std::string key = std::string(type) + "\\shell\\open\\command";
    if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), command, &size) != ERROR_SUCCESS) return "";
    std::string text = command;
    if (!text.empty() && text[0] == '"') return text.substr(1, text.find('"', 1) - 1);
    return text.substr(0, text.find(' '));
}

std::string makeDirectory(const std::string& path) {
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

// Probe-shaped names that `directory` holds now and did not hold in `before`.
// The temporary directory is shared with other processes (another test host
// may be looking up the same extensions there), so a new name only counts
// when it is still there a while later: a probe of a running lookup is gone
// within milliseconds, one that was left behind stays.
std::set<std::string> namesLeftBehind(const std::string& directory, const std::set<std::string>& before) {
    std::set<std::string> added;
    for (int attempt = 0; attempt < 20; ++attempt) {
        added.clear();
        for (const std::string& name : probeLikeNames(directory)) {
            if (!before.count(name)) added.insert(name);
        }
        if (added.empty()) break;
        Sleep(100);
    }
    return added;
}

std::string joined(const std::set<std::string>& names) {
    std::string all;
    for (const std::string& name : names) all += " " + name;
    return all;
}

// The probe-shaped names of the temporary and the host executable's
// directory; a lookup must leave neither a new one.
struct SharedDirectories {
    std::string temp = temporaryDirectory();
    std::string exe = hostExecutableDirectory();
    std::set<std::string> tempBefore = probeLikeNames(temp);
    std::set<std::string> exeBefore = probeLikeNames(exe);

    void checkNothingLeft(HostContext& host, const std::string& what) {
        std::set<std::string> inTemp = namesLeftBehind(temp, tempBefore);
        std::set<std::string> inExe = namesLeftBehind(exe, exeBefore);
        check(host, inTemp.empty(), what + ": no probe left in " + temp + joined(inTemp));
        check(host, inExe.empty(), what + ": no probe left in " + exe + joined(inExe));
    }
};

// Lets the file system clock move on, so that a directory's last-write time
// shows whether anything was created in it afterwards.
void letClockMove() {
    Sleep(30);
}

void runAnswerCases(HostContext& host, StrictJniEnv& jni, const std::string& root, const std::string& program) {
    SharedDirectories shared;
    struct Case {
        const char* name;
        const char* ext1;
        const char* ext2;
        std::string expected;  // "" for null; "notepad.exe" is matched as the path's end
    } cases[] = {
        {"txt", ".txt", ".text", "notepad.exe"},
        {"registered", KNOWN_EXT, ".other", program},
        {"second-extension", "tessalfind", KNOWN_EXT, program},
        {"unregistered", UNKNOWN_EXT, UNKNOWN_EXT_TOO, ""},
    };
    for (const Case& c : cases) {
        std::string dir = makeDirectory(root + c.name + "\\");
        uint64_t before = lastWriteTime(dir);
        letClockMove();
        std::string what = std::string("findExecutable(") + c.ext1 + ", " + c.ext2 + ") in an empty local directory";
        Answer answer = askFind(host, jni, dir.c_str(), c.ext1, c.ext2, what);
        if (c.expected.empty()) {
            check(host, answer.isNull, what + " = " + shown(answer) + ", expected null");
        } else if (c.expected == "notepad.exe") {
            check(host, !answer.isNull && endsWithNoCase(answer.text, "\\notepad.exe") && fileExistsAt(answer.text),
                  what + " = " + shown(answer) + ", expected the path of an existing notepad.exe");
        } else {
            check(host, !answer.isNull && answer.text == c.expected,
                  what + " = " + shown(answer) + ", expected \"" + c.expected + "\"");
        }
        check(host, listFiles(dir).empty(), what + ": local directory left empty");
        check(host, lastWriteTime(dir) != before, what + ": the probe was made in the local directory");
    }
    shared.checkNothingLeft(host, "answer cases");

    check(host, fileExistsAt(program), "the registered program \"" + program + "\" exists (prefix registration)");
}

void runExistingFileCases(HostContext& host, StrictJniEnv& jni, const std::string& root, const std::string& program) {
    SharedDirectories shared;
    // A local directory longer than 128 characters: a scratch record of that
    // width could not hold its names, and an existence test relying on one would
    // see no file there.
    std::string longRoot = makeDirectory(root + "long_" + std::string(100, 'a') + "\\");
    std::string longDir = makeDirectory(longRoot + std::string(60, 'b') + "\\");
    check(host, longDir.size() > 128 && fileExistsAt(longDir),
          "a local directory of " + std::to_string(longDir.size()) + " characters exists");

    struct Case {
        std::string dir;
        const char* ext;
        std::string expected;  // "" for null
    } cases[] = {
        {makeDirectory(root + "existing-registered\\"), KNOWN_EXT, program},
        {makeDirectory(root + "existing-txt\\"), ".txt", "notepad.exe"},
        {makeDirectory(root + "existing-unregistered\\"), UNKNOWN_EXT, ""},
        {longDir, KNOWN_EXT, program},
    };
    for (const Case& c : cases) {
        std::string what = std::string("existing 0") + c.ext + " in " + c.dir;
        FileState existing = placeFile(c.dir + "0" + c.ext, userBytes(c.ext));
        uint64_t dirBefore = lastWriteTime(c.dir);
        letClockMove();
        Answer answer = askFind(host, jni, c.dir.c_str(), c.ext, c.ext, what);
        if (c.expected.empty()) {
            check(host, answer.isNull, what + " = " + shown(answer) + ", expected null");
        } else if (c.expected == "notepad.exe") {
            check(host, !answer.isNull && endsWithNoCase(answer.text, "\\notepad.exe"), what + " = " + shown(answer));
        } else {
            check(host, !answer.isNull && answer.text == c.expected, what + " = " + shown(answer));
        }
        check(host, unchanged(existing), what + ": the file keeps its bytes, size and time");
        check(host, listFiles(c.dir) == std::vector<std::string>{"0" + std::string(c.ext)},
              what + ": nothing else left in the directory");
        // With an answer, the existing file was enough: nothing was created.
        // Without one, 1<ext> was probed next, beside it.
        bool created = lastWriteTime(c.dir) != dirBefore;
        check(host, created == c.expected.empty(),
              what + (c.expected.empty() ? ": the next name was probed" : ": no probe was created"));
    }

    // The same directory, now for an unregistered type: 0 is asked about and
    // kept, 1 probed and removed, and the long directory holds only what it held.
    {
        std::string what = "existing 0.tessalnofind in a directory of " + std::to_string(longDir.size()) + " characters";
        FileState existing = placeFile(longDir + "0" + UNKNOWN_EXT, userBytes("long"));
        Answer answer = askFind(host, jni, longDir.c_str(), UNKNOWN_EXT, UNKNOWN_EXT, what);
        check(host, answer.isNull, what + " = " + shown(answer) + ", expected null");
        check(host, unchanged(existing), what + ": the file keeps its bytes, size and time");
        check(host, probeLikeNames(longDir) == std::set<std::string>{"0.tessalfind", "0.tessalnofind"},
              what + ": no probe left");
    }
    shared.checkNothingLeft(host, "existing-file cases");
}

void runDirectoryFormCases(HostContext& host, StrictJniEnv& jni, const std::string& root, const std::string& program) {
    SharedDirectories shared;
    // "<dir>" without a trailing backslash: the names are "<dir>0.ext", beside
    // the directory, not in it. A sibling "nobs0.tessalfind" is the file asked
    // about; nothing is created anywhere.
    {
        std::string side = makeDirectory(root + "side\\");
        std::string inner = makeDirectory(side + "nobs\\");
        FileState sibling = placeFile(side + "nobs0" + KNOWN_EXT, userBytes("sibling"));
        uint64_t sideBefore = lastWriteTime(side);
        uint64_t innerBefore = lastWriteTime(inner);
        letClockMove();
        std::string localDir = side + "nobs";
        std::string what = "local directory \"" + localDir + "\" without a trailing backslash, sibling present";
        Answer answer = askFind(host, jni, localDir.c_str(), KNOWN_EXT, KNOWN_EXT, what);
        check(host, !answer.isNull && answer.text == program, what + " = " + shown(answer));
        check(host, unchanged(sibling), what + ": the sibling keeps its bytes, size and time");
        check(host, lastWriteTime(side) == sideBefore && lastWriteTime(inner) == innerBefore,
              what + ": nothing was created");
        check(host, listFiles(inner).empty(), what + ": nothing in the directory itself");
    }
    // The same without the sibling: the probe is made as "<dir>0.ext" (its
    // parent's time moves, the directory's own does not) and removed.
    {
        std::string side = makeDirectory(root + "side2\\");
        std::string inner = makeDirectory(side + "nobs\\");
        uint64_t sideBefore = lastWriteTime(side);
        uint64_t innerBefore = lastWriteTime(inner);
        letClockMove();
        std::string localDir = side + "nobs";
        std::string what = "local directory \"" + localDir + "\" without a trailing backslash";
        Answer answer = askFind(host, jni, localDir.c_str(), KNOWN_EXT, KNOWN_EXT, what);
        check(host, !answer.isNull && answer.text == program, what + " = " + shown(answer));
        check(host, lastWriteTime(side) != sideBefore, what + ": the probe was made beside the directory");
        check(host, lastWriteTime(inner) == innerBefore && listFiles(inner).empty(),
              what + ": nothing was made inside the directory");
        check(host, listFiles(side) == std::vector<std::string>{"nobs"}, what + ": no probe left");
    }
    // Null, empty and unusable local directories: the search starts in the
    // temporary directory, which answers.
    {
        std::string tooLong = root + std::string(515, 'x') + "\\";
        struct Case {
            const char* label;
            const char* localDir;
        } cases[] = {{"null", nullptr}, {"empty", ""}, {"too long for a probe name", tooLong.c_str()}};
        for (const Case& c : cases) {
            std::string what = std::string(c.label) + " m_strLocalDir";
            Answer answer = askFind(host, jni, c.localDir, KNOWN_EXT, UNKNOWN_EXT, what);
            check(host, !answer.isNull && answer.text == program, what + " = " + shown(answer));
        }
        Answer none = askFind(host, jni, nullptr, UNKNOWN_EXT, UNKNOWN_EXT_TOO, "null m_strLocalDir, unregistered");
        check(host, none.isNull, "null m_strLocalDir, unregistered = " + shown(none) + ", expected null");
    }
    // Rejected extension forms never reach the file system.
    {
        std::string dir = makeDirectory(root + "rejected\\");
        uint64_t before = lastWriteTime(dir);
        letClockMove();
        for (const char* form : {"tessalfind", ".t", ". tessalfind", ""}) {
            std::string what = std::string("rejected extension '") + form + "'";
            Answer answer = askFind(host, jni, dir.c_str(), form, form, what);
            check(host, answer.isNull, what + " = " + shown(answer) + ", expected null");
        }
        check(host, lastWriteTime(dir) == before && listFiles(dir).empty(), "rejected extensions: nothing created");
    }
    shared.checkNothingLeft(host, "directory-form cases");
}

// Eight threads look up the same registered extension in one directory while
// a ninth keeps placing a file of its own under the first probe name. The
// lookups create probes when 0.tessalfind is free, ask about the other's file
// when it is there, and go on to the existing 1.tessalfind when that file
// vanishes under them; nobody's file may be written or removed by a lookup.
void runConcurrencyCase(HostContext& host, const std::string& root, const std::string& program) {
    SharedDirectories shared;
    std::string dir = makeDirectory(root + "concurrent\\");
    FileState one = placeFile(dir + "1" + KNOWN_EXT, userBytes("one"));
    FileState two = placeFile(dir + "2" + KNOWN_EXT, userBytes("two"));
    const int threads = 8;
    const int lookups = 200;

    struct Tally {
        int answered = 0;
        int wrong = 0;
        int jniFaults = 0;
        int requestChanged = 0;
        std::string firstFault;
    };
    std::vector<Tally> tallies(threads);
    std::atomic<int> running{threads};
    std::atomic<int> placed{0}, damaged{0}, nameBusy{0};

    std::thread intruder([&] {
        const std::string path = dir + "0" + KNOWN_EXT;
        const std::string bytes = userBytes("intruder");
        while (running.load() > 0) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                ++nameBusy;  // a lookup's probe holds the name right now
                Sleep(0);
                continue;
            }
            DWORD written = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
            CloseHandle(file);
            ++placed;
            Sleep(1);
            if (readWholeFile(path) != bytes) ++damaged;
            DeleteFileA(path.c_str());
            Sleep(0);
        }
    });

    // The first lookups start while the intruding file is there.
    for (int waited = 0; placed.load() == 0 && waited < 5000; ++waited) Sleep(1);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            StrictJniEnv jni;
            Tally& tally = tallies[t];
            for (int i = 0; i < lookups; ++i) {
                jobject request = jni.newRequest({stringField("m_strLocalDir", dir), stringField("m_strFileExt1", KNOWN_EXT),
                                                  stringField("m_strFileExt2", KNOWN_EXT)});
                jstring result = host.natives.findExecutable(jni.env(), jni.receiver(), request);
                std::string text = result ? jni.textOf(result) : "";
                if (result && text == program) {
                    ++tally.answered;
                } else {
                    ++tally.wrong;
                    if (tally.firstFault.empty()) tally.firstFault = result ? "\"" + text + "\"" : "null";
                }
                if (!jni.fieldsUnchanged(request)) ++tally.requestChanged;
                if (!jni.finishCall().empty()) ++tally.jniFaults;
            }
            --running;
        });
    }
    for (std::thread& worker : workers) worker.join();
    intruder.join();

    Tally total;
    for (const Tally& tally : tallies) {
        total.answered += tally.answered;
        total.wrong += tally.wrong;
        total.jniFaults += tally.jniFaults;
        total.requestChanged += tally.requestChanged;
        if (total.firstFault.empty()) total.firstFault = tally.firstFault;
    }
    std::printf("concurrent lookups: %d answered; the intruding file was placed %d times, found the name taken %d times\n",
                total.answered, placed.load(), nameBusy.load());
    std::string what = std::to_string(threads) + " threads x " + std::to_string(lookups) + " lookups in one directory";
    check(host, total.answered == threads * lookups,
          what + ": every lookup answers the program (" + std::to_string(total.wrong) + " did not, first " +
              total.firstFault + ")");
    check(host, total.jniFaults == 0 && total.requestChanged == 0, what + ": JNI rules kept, requests unchanged");
    check(host, damaged.load() == 0, what + ": a file placed under a probe name by someone else is never touched");
    check(host, placed.load() > 0 && nameBusy.load() > 0,
          what + ": both the lookups' probes and the other file held the first name at times");
    check(host, unchanged(one) && unchanged(two), what + ": the existing 1" + std::string(KNOWN_EXT) + " and 2" +
                                                      KNOWN_EXT + " keep their bytes, size and time");
    std::vector<std::string> left = listFiles(dir);
    std::set<std::string> leftSet(left.begin(), left.end());
    check(host, leftSet == std::set<std::string>{"1.tessalfind", "2.tessalfind"}, what + ": no probe left");
    shared.checkNothingLeft(host, what);
}

// Removes `directory` (ending in a backslash) with everything in it.
void removeTree(const std::string& directory) {
    for (const std::string& name : listFiles(directory)) {
        std::string path = directory + name;
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            removeTree(path + "\\");
        } else {
            DeleteFileA(path.c_str());
        }
    }
    RemoveDirectoryA(directory.c_str());
}

}  // namespace

void runFindCases(HostContext& host) {
    std::string program = registeredProgram(KNOWN_EXT);
    check(host, !program.empty(), "the Wine prefix registers an open command for .tessalfind");
    std::printf("registered program for %s: %s\n", KNOWN_EXT, program.c_str());
    std::string root = makeDirectory(host.workDir + "find\\");

    StrictJniEnv jni;
    runAnswerCases(host, jni, root, program);
    runExistingFileCases(host, jni, root, program);
    runDirectoryFormCases(host, jni, root, program);
    if (host.heavy) runConcurrencyCase(host, root, program);
    removeTree(root);
}
