#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/buffer_sizes.h"
#include "common/byte_string.h"
#include "shell/executable_lookup.h"
#include "tests/fakes/fake_win_calls.h"

namespace {

// The probe line as the files must hold it, spelled out independently.
const std::string EXPECTED_PROBE("Temporaere datei damit FindExecutable(...) die ben\xF6tigte Datei findet.", 70);

const char* const LOCAL = "D:\\work\\";
const char* const TEMP = "C:\\Temp\\";
const char* const HOST_EXE = "C:\\Java\\bin\\java.exe";
const char* const HOST = "C:\\Java\\bin\\";
const char* const PROGRAM = "C:\\Programs\\viewer.exe";

// A small file system behind the fake platform. The shell answers only for
// files that exist, and only when `registered` says so for the name.
struct FakeDisk {
    std::map<std::string, std::string> files;        // path -> content
    std::map<std::string, std::string> directories;  // paths that are directories
    std::map<std::string, std::string> before;       // snapshot of `files` at the start
    std::function<bool(const std::string&)> registered = [](const std::string&) { return false; };
    std::vector<std::string> probeContents;          // what each successful creation wrote
    std::vector<std::string> contentSeenByShell;     // the file's content when the shell was asked
    std::function<CreateFileOutcome(const std::string&)> creationOverride;
    std::function<void(const std::string&)> afterExistenceTest;
};

FakeDisk& disk() {
    static FakeDisk state;
    return state;
}

void stageDisk(const char* tempPath = TEMP, const char* hostExe = HOST_EXE) {
    resetFakePlatform();
    disk() = FakeDisk();
    FakePlatform& fake = fakePlatform();
    fake.getTempPath = [tempPath](uint32_t capacity, char* buffer) -> uint32_t {
        if (!tempPath) return 0;
        std::string text(tempPath);
        if (text.size() + 1 > capacity) return static_cast<uint32_t>(text.size() + 1);
        text.copy(buffer, text.size());
        buffer[text.size()] = '\0';
        return static_cast<uint32_t>(text.size());
    };
    fake.getModuleFileName = [hostExe](char* buffer, uint32_t capacity) -> uint32_t {
        if (!hostExe) return 0;
        std::string text(hostExe);
        if (text.size() >= capacity) {  // cut, as the Windows call does
            text.copy(buffer, capacity - 1);
            buffer[capacity - 1] = '\0';
            return capacity;
        }
        text.copy(buffer, text.size());
        buffer[text.size()] = '\0';
        return static_cast<uint32_t>(text.size());
    };
    fake.getFileAttributes = [](const char* path) -> uint32_t {
        uint32_t answer = NO_FILE_ATTRIBUTES;
        if (disk().files.count(path)) answer = 0x80;
        if (disk().directories.count(path)) answer = 0x10;
        if (disk().afterExistenceTest) disk().afterExistenceTest(path);
        return answer;
    };
    fake.createNewFile = [](const char* path, const char* content, int size) -> CreateFileOutcome {
        if (disk().creationOverride) {
            CreateFileOutcome outcome = disk().creationOverride(path);
            if (outcome != FILE_CREATED) return outcome;
        }
        if (disk().files.count(path) || disk().directories.count(path)) return FILE_NAME_TAKEN;
        std::string written(content, static_cast<size_t>(size));
        disk().files[path] = written;
        disk().probeContents.push_back(written);
        return FILE_CREATED;
    };
    fake.deleteFile = [](const char* path) { return disk().files.erase(path) == 1; };
    fake.findExecutable = [](const char* file, const char* directory, char* result) -> intptr_t {
        EXPECT_EQ(directory, nullptr);
        std::string name(file);
        bool isFile = disk().files.count(name) != 0;
        if (!isFile && !disk().directories.count(name)) return 2;  // file not found
        if (isFile) disk().contentSeenByShell.push_back(disk().files[name]);
        if (!disk().registered(name)) return 31;  // no association
        std::string(PROGRAM).copy(result, std::string(PROGRAM).size());
        result[std::string(PROGRAM).size()] = '\0';
        return 42;
    };
}

void addFile(const std::string& path, const std::string& content) {
    disk().files[path] = content;
    disk().before[path] = content;
}

void registerEverything() {
    disk().registered = [](const std::string&) { return true; };
}

void registerWhenNameEndsWith(const std::string& tail) {
    disk().registered = [tail](const std::string& name) {
        return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
    };
}

// Pre-existing files unchanged, no probe left behind.
void expectDiskAsBefore() {
    EXPECT_EQ(disk().files, disk().before);
}

// Calls whose "name:argument" text begins with `prefix`.
int callsStartingWith(const std::string& prefix) {
    int n = 0;
    for (const std::string& call : fakePlatform().calls) n += call.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
    return n;
}

std::vector<std::string> searchOf(const std::string& name, bool withDeletion = true) {
    std::vector<std::string> calls = {"getFileAttributes:" + name, "createNewFile:" + name, "findExecutable:" + name};
    if (withDeletion) calls.push_back("deleteFile:" + name);
    return calls;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct Lookup {
    bool found;
    std::string out;
};

Lookup lookUp(const char* extension, const char* localDirectory) {
    char out[RESULT_BUFFER_SIZE];
    for (char& c : out) c = 'Z';  // whatever the caller's buffer held must not count
    bool found = findExecutableForExtension(extension, localDirectory, out);
    EXPECT_EQ(out[RESULT_BUFFER_SIZE - 1], '\0');
    return {found, std::string(out)};
}

// ---- the extension's form ---------------------------------------------------

TEST(ExtensionForm, RefusedFormsTouchNothing) {
    const char* refused[] = {"pdf", ".p", ". pdf", "", ".", "x.pdf", nullptr};
    for (const char* extension : refused) {
        stageDisk();
        registerEverything();
        Lookup result = lookUp(extension, LOCAL);
        EXPECT_FALSE(result.found) << (extension ? extension : "(null)");
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(fakePlatform().calls.empty()) << (extension ? extension : "(null)");
    }
}

TEST(ExtensionForm, ShortestAcceptedFormsAreSearched) {
    const char* accepted[] = {".pd", ".p ", "..x", ".\xE4\xF6"};
    for (const char* extension : accepted) {
        stageDisk();
        registerEverything();
        Lookup result = lookUp(extension, LOCAL);
        EXPECT_TRUE(result.found) << extension;
        EXPECT_EQ(fakePlatform().calls, searchOf(std::string(LOCAL) + "0" + extension));
    }
}

// ---- directory order and the common path -----------------------------------

TEST(DirectoryOrder, CommonPathCostsOneTestOneCreationOneQueryOneDeletion) {
    stageDisk();
    registerEverything();
    Lookup result = lookUp(".pdf", LOCAL);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(result.out, PROGRAM);
    EXPECT_EQ(fakePlatform().calls, searchOf("D:\\work\\0.pdf"));
    EXPECT_EQ(disk().contentSeenByShell, std::vector<std::string>{EXPECTED_PROBE});
    expectDiskAsBefore();
}

TEST(DirectoryOrder, ProbeHoldsExactlyTheSeventyByteLine) {
    stageDisk();
    registerEverything();
    lookUp(".pdf", LOCAL);
    ASSERT_EQ(disk().probeContents.size(), 1u);
    const std::string& written = disk().probeContents[0];
    ASSERT_EQ(written.size(), 70u);
    EXPECT_EQ(written, EXPECTED_PROBE);
    EXPECT_EQ(static_cast<unsigned char>(written[50]), 0xF6);
    EXPECT_EQ(written.back(), '.');
}

TEST(DirectoryOrder, UnregisteredExtensionSearchesEachDirectoryOnce) {
    stageDisk();
    Lookup result = lookUp(".xyz", LOCAL);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(fakePlatform().calls, joined({searchOf("D:\\work\\0.xyz"), {"getTempPath"}, searchOf("C:\\Temp\\0.xyz"),
                                            {"getModuleFileName"}, searchOf("C:\\Java\\bin\\0.xyz")}));
    expectDiskAsBefore();
}

TEST(DirectoryOrder, TwoExtensionsMakeSixSearchesWithALocalDirectoryAndFourWithout) {
    struct Case {
        const char* localDirectory;
        int searches;
    } cases[] = {{LOCAL, 6}, {"", 4}, {nullptr, 4}};
    for (const Case& c : cases) {
        stageDisk();
        bool found = lookUp(".xyz", c.localDirectory).found || lookUp(".xyzz", c.localDirectory).found;
        EXPECT_FALSE(found);
        const FakePlatform& fake = fakePlatform();
        EXPECT_EQ(fake.count("getFileAttributes"), c.searches);
        EXPECT_EQ(fake.count("createNewFile"), c.searches);
        EXPECT_EQ(fake.count("findExecutable"), c.searches);
        EXPECT_EQ(fake.count("deleteFile"), c.searches);
        EXPECT_EQ(fake.calls.front(), c.localDirectory && *c.localDirectory ? "getFileAttributes:D:\\work\\0.xyz"
                                                                            : "getTempPath");
        expectDiskAsBefore();
    }
}

TEST(DirectoryOrder, SecondExtensionOnlyAfterTheFirstFailedEverywhere) {
    stageDisk();
    registerWhenNameEndsWith(".htm");
    bool first = lookUp(".html", LOCAL).found;
    std::vector<std::string> afterFirst = fakePlatform().calls;
    Lookup second = lookUp(".htm", LOCAL);
    EXPECT_FALSE(first);
    EXPECT_TRUE(second.found);
    for (const std::string& call : afterFirst) EXPECT_EQ(call.find(".htm", call.size() - 4), std::string::npos) << call;
    EXPECT_EQ(afterFirst.back(), "deleteFile:C:\\Java\\bin\\0.html");
    EXPECT_EQ(std::vector<std::string>(fakePlatform().calls.begin() + static_cast<long>(afterFirst.size()),
                                       fakePlatform().calls.end()),
              searchOf("D:\\work\\0.htm"));
    expectDiskAsBefore();
}

TEST(DirectoryOrder, AnswerInALaterDirectoryEndsTheSearchThere) {
    stageDisk();
    registerWhenNameEndsWith("Temp\\0.pdf");
    Lookup result = lookUp(".pdf", LOCAL);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(fakePlatform().calls, joined({searchOf("D:\\work\\0.pdf"), {"getTempPath"}, searchOf("C:\\Temp\\0.pdf")}));
    EXPECT_EQ(fakePlatform().count("getModuleFileName"), 0);
    expectDiskAsBefore();
}

TEST(DirectoryOrder, DirectoryIsAPrefixWithoutAddedSeparator) {
    stageDisk();
    Lookup result = lookUp(".pdf", "C:\\work");
    EXPECT_FALSE(result.found);
    EXPECT_EQ(fakePlatform().calls[0], "getFileAttributes:C:\\work0.pdf");
}

// ---- existing files are asked about and left alone --------------------------

TEST(ExistingFiles, ExistingZeroNameAnsweredOrNot) {
    struct Case {
        const char* registeredTail;
        std::vector<std::string> calls;
    } cases[] = {
        {"0.pdf", {"getFileAttributes:D:\\work\\0.pdf", "findExecutable:D:\\work\\0.pdf"}},
        {"1.pdf", joined({{"getFileAttributes:D:\\work\\0.pdf", "findExecutable:D:\\work\\0.pdf"},
                          searchOf("D:\\work\\1.pdf")})},
    };
    for (const Case& c : cases) {
        stageDisk();
        addFile("D:\\work\\0.pdf", "the user's own document");
        registerWhenNameEndsWith(c.registeredTail);
        Lookup result = lookUp(".pdf", LOCAL);
        EXPECT_TRUE(result.found) << c.registeredTail;
        EXPECT_EQ(result.out, PROGRAM);
        EXPECT_EQ(fakePlatform().calls, c.calls) << c.registeredTail;
        expectDiskAsBefore();
    }
}

TEST(ExistingFiles, DirectoryWithAProbeNameIsAskedAboutAndLeftAlone) {
    stageDisk();
    disk().directories["D:\\work\\0.pdf"] = "";
    registerWhenNameEndsWith("1.pdf");
    Lookup result = lookUp(".pdf", LOCAL);
    EXPECT_TRUE(result.found);
    EXPECT_EQ(fakePlatform().calls, joined({{"getFileAttributes:D:\\work\\0.pdf", "findExecutable:D:\\work\\0.pdf"},
                                            searchOf("D:\\work\\1.pdf")}));
    EXPECT_EQ(disk().directories.size(), 1u);
}

TEST(ExistingFiles, ThousandExistingNamesWithoutAnswerCreateNothing) {
    stageDisk(nullptr, nullptr);
    for (int n = 0; n < 1000; ++n) addFile("D:\\work\\" + std::to_string(n) + ".pdf", "kept " + std::to_string(n));
    Lookup result = lookUp(".pdf", LOCAL);
    EXPECT_FALSE(result.found);
    const FakePlatform& fake = fakePlatform();
    EXPECT_EQ(fake.count("getFileAttributes"), 1000);
    EXPECT_EQ(fake.count("findExecutable"), 1000);
    EXPECT_EQ(fake.count("createNewFile"), 0);
    EXPECT_EQ(fake.count("deleteFile"), 0);
    EXPECT_EQ(fake.count("getFileAttributes:D:\\work\\1000.pdf"), 0);
    EXPECT_EQ(fake.calls[1998], "getFileAttributes:D:\\work\\999.pdf");
    expectDiskAsBefore();
}

TEST(ExistingFiles, ADirtyCallerBufferOrAnUnterminatedAnswerIsNoAnswer) {
    stageDisk();
    addFile("D:\\work\\0.pdf", "doc");
    fakePlatform().findExecutable = [](const char*, const char*, char* result) -> intptr_t {
        for (int i = 0; i < RESULT_BUFFER_SIZE; ++i) result[i] = 'Q';
        return 42;
    };
    Lookup result = lookUp(".pdf", LOCAL);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.out, "");

    stageDisk();
    fakePlatform().findExecutable = [](const char*, const char*, char*) -> intptr_t { return 42; };
    result = lookUp(".pdf", LOCAL);  // a success code that wrote nothing over 'Z' bytes
    EXPECT_FALSE(result.found);
    EXPECT_EQ(result.out, "");
    expectDiskAsBefore();
}

// ---- probes that cannot be created or whose name is taken meanwhile ----------

TEST(ProbeCreation, UncreatableProbeIsStillAskedAboutAndEndsThatDirectory) {
    struct Case {
        bool registeredAnyway;  // a shell that answers from the name alone
        bool found;
    } cases[] = {{false, false}, {true, true}};
    for (const Case& c : cases) {
        stageDisk();
        disk().creationOverride = [](const std::string& path) {
            return path.rfind("D:\\work\\", 0) == 0 ? FILE_NOT_CREATED : FILE_CREATED;
        };
        if (c.registeredAnyway) {
            fakePlatform().findExecutable = [](const char*, const char*, char* result) -> intptr_t {
                std::string(PROGRAM).copy(result, std::string(PROGRAM).size());
                return 42;
            };
        }
        Lookup result = lookUp(".pdf", LOCAL);
        EXPECT_EQ(result.found, c.found);
        std::vector<std::string> local = searchOf("D:\\work\\0.pdf", /*withDeletion=*/false);
        std::vector<std::string> calls = fakePlatform().calls;
        ASSERT_GE(calls.size(), local.size());
        EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + static_cast<long>(local.size())), local);
        if (c.found) {
            EXPECT_EQ(calls.size(), local.size());
        } else {
            EXPECT_EQ(calls[local.size()], "getTempPath");
        }
        EXPECT_EQ(callsStartingWith("deleteFile:D:\\work\\"), 0);
        EXPECT_EQ(fakePlatform().count("getFileAttributes:D:\\work\\1.pdf"), 0);
        expectDiskAsBefore();
    }
}

TEST(ProbeCreation, NameAppearingBetweenTestAndCreationIsTreatedAsExisting) {
    struct Case {
        const char* registeredTail;
        std::vector<std::string> calls;
    } cases[] = {
        {"0.pdf", searchOf("D:\\work\\0.pdf", /*withDeletion=*/false)},
        {"1.pdf", joined({searchOf("D:\\work\\0.pdf", false), searchOf("D:\\work\\1.pdf")})},
    };
    for (const Case& c : cases) {
        stageDisk();
        registerWhenNameEndsWith(c.registeredTail);
        // Another process creates 0.pdf right after the lookup found the name free.
        disk().afterExistenceTest = [](const std::string& path) {
            if (path == "D:\\work\\0.pdf" && !disk().files.count(path)) {
                disk().files[path] = "written by someone else";
                disk().before[path] = "written by someone else";
            }
        };
        Lookup result = lookUp(".pdf", LOCAL);
        EXPECT_TRUE(result.found) << c.registeredTail;
        EXPECT_EQ(fakePlatform().calls, c.calls) << c.registeredTail;
        EXPECT_EQ(disk().contentSeenByShell.front(), "written by someone else");
        expectDiskAsBefore();
    }
}

// ---- names and directories that do not fit ---------------------------------

TEST(Oversize, ProbeNameMustFitWhole) {
    // Directories sized so that directory + "0" + ".pdf" has the given length.
    struct Case {
        int nameLength;
        bool probedLocally;
    } cases[] = {{519, true}, {520, false}, {700, false}};
    for (const Case& c : cases) {
        stageDisk();
        std::string directory = "D:\\" + std::string(static_cast<size_t>(c.nameLength - 9), 'd') + "\\";
        ASSERT_EQ(directory.size() + 5, static_cast<size_t>(c.nameLength));
        Lookup result = lookUp(".pdf", directory.c_str());
        EXPECT_FALSE(result.found);
        const std::vector<std::string>& calls = fakePlatform().calls;
        if (c.probedLocally) {
            EXPECT_EQ(calls[0], "getFileAttributes:" + directory + "0.pdf");
            EXPECT_EQ(calls[1], "createNewFile:" + directory + "0.pdf");
        } else {
            EXPECT_EQ(calls[0], "getTempPath") << c.nameLength;
        }
        EXPECT_EQ(fakePlatform().count("createNewFile"), c.probedLocally ? 3 : 2);
        expectDiskAsBefore();
    }
}

TEST(Oversize, NameThatOutgrowsTheBufferAtTenEndsTheSearchWithoutCreating) {
    stageDisk(nullptr, nullptr);
    std::string directory = "D:\\" + std::string(519 - 3 - 1 - 5, 'd') + "\\";  // "...\0.pdf" is 519 bytes
    for (int n = 0; n < 10; ++n) addFile(directory + std::to_string(n) + ".pdf", "kept");
    Lookup result = lookUp(".pdf", directory.c_str());
    EXPECT_FALSE(result.found);
    EXPECT_EQ(fakePlatform().count("getFileAttributes"), 10);
    EXPECT_EQ(fakePlatform().count("createNewFile"), 0);
    EXPECT_EQ(fakePlatform().count("deleteFile"), 0);
    expectDiskAsBefore();
}

TEST(Oversize, ExtensionTooLongForAnyDirectoryCreatesNothing) {
    stageDisk();
    std::string extension = "." + std::string(600, 'e');
    Lookup result = lookUp(extension.c_str(), LOCAL);
    EXPECT_FALSE(result.found);
    EXPECT_EQ(fakePlatform().calls, (std::vector<std::string>{"getTempPath", "getModuleFileName"}));
}

TEST(Oversize, TemporaryDirectoryThatCannotBeHadIsSkipped) {
    std::string longest(519, 't');  // fits the buffer but leaves no room for a name
    std::string tooLong(520, 't');
    struct Case {
        const char* tempPath;
        bool probed;
    } cases[] = {{nullptr, false}, {"", false}, {tooLong.c_str(), false}, {longest.c_str(), false}, {TEMP, true}};
    for (const Case& c : cases) {
        stageDisk(c.tempPath);
        lookUp(".pdf", nullptr);
        EXPECT_EQ(fakePlatform().calls[0], "getTempPath");
        EXPECT_EQ(callsStartingWith("createNewFile:C:\\Temp\\"), c.probed ? 1 : 0);
        EXPECT_EQ(callsStartingWith("getFileAttributes:t"), 0);
        EXPECT_EQ(fakePlatform().count("createNewFile"), c.probed ? 2 : 1) << (c.tempPath ? c.tempPath : "(null)");
        expectDiskAsBefore();
    }
    // A platform that reports the needed size without writing is skipped too.
    stageDisk();
    fakePlatform().getTempPath = [](uint32_t capacity, char*) -> uint32_t { return capacity + 40; };
    lookUp(".pdf", nullptr);
    EXPECT_EQ(fakePlatform().count("createNewFile"), 1);
}

TEST(Oversize, HostExecutablePathThatDoesNotFitIsSkipped) {
    std::string longest = "C:\\" + std::string(250, 'h') + "\\x.exe";  // 259 bytes
    std::string tooLong = "C:\\" + std::string(251, 'h') + "\\x.exe";  // 260 bytes: comes back cut
    ASSERT_EQ(longest.size(), 259u);
    struct Case {
        const char* exe;
        bool probed;
    } cases[] = {{longest.c_str(), true}, {tooLong.c_str(), false}, {nullptr, false}};
    for (const Case& c : cases) {
        stageDisk(nullptr, c.exe);
        lookUp(".pdf", nullptr);
        EXPECT_EQ(fakePlatform().count("getModuleFileName"), 1);
        EXPECT_EQ(fakePlatform().count("createNewFile"), c.probed ? 1 : 0) << (c.exe ? c.exe : "(null)");
        if (c.probed) {
            EXPECT_EQ(fakePlatform().count("createNewFile:" + longest.substr(0, longest.size() - 5) + "0.pdf"), 1);
        }
    }
}

// ---- the pieces -------------------------------------------------------------

TEST(FileExists, AnyAttributesMeanSomethingIsThere) {
    struct Case {
        uint32_t attributes;
        bool exists;
    } cases[] = {{NO_FILE_ATTRIBUTES, false}, {0x80, true}, {0x10, true}, {0x20, true}, {0x1, true}, {0, true}};
    for (const Case& c : cases) {
        resetFakePlatform();
        fakePlatform().getFileAttributes = [&c](const char*) { return c.attributes; };
        EXPECT_EQ(fileExists("C:\\x\\0.pdf"), c.exists) << c.attributes;
    }
}

TEST(FileExists, LongPathsReachThePlatformWhole) {
    resetFakePlatform();
    std::string path = "D:\\" + std::string(510, 'p') + "\\0.pdf";
    ASSERT_EQ(path.size(), 519u);
    fakePlatform().getFileAttributes = [&path](const char* asked) {
        return asked == path ? 0x80u : NO_FILE_ATTRIBUTES;
    };
    EXPECT_TRUE(fileExists(path.c_str()));
    EXPECT_EQ(fakePlatform().calls, std::vector<std::string>{"getFileAttributes:" + path});
}

TEST(HostExecutableDir, DriveAndDirectoryWithTheirSeparator) {
    struct Case {
        const char* exe;
        bool ok;
        const char* dir;
    } cases[] = {
        {"C:\\Program Files\\Java\\bin\\javaw.exe", true, "C:\\Program Files\\Java\\bin\\"},
        {"C:/Java/bin/java.exe", true, "C:/Java/bin/"},
        {"C:\\Java/bin\\java.exe", true, "C:\\Java/bin\\"},
        {"\\\\server\\share\\java.exe", true, "\\\\server\\share\\"},
        {"/usr/lib/jvm/bin/java", true, "/usr/lib/jvm/bin/"},
        {"C:java.exe", true, "C:"},
        {"C:\\java.exe", true, "C:\\"},
        {"java.exe", false, ""},
        {nullptr, false, ""},
    };
    for (const Case& c : cases) {
        stageDisk(nullptr, c.exe);
        char out[RESULT_BUFFER_SIZE];
        for (char& b : out) b = 'Z';
        EXPECT_EQ(getHostExecutableDir(out, RESULT_BUFFER_SIZE), c.ok) << (c.exe ? c.exe : "(null)");
        EXPECT_EQ(std::string(out), c.dir);
        for (int i = byteLength(out); i < RESULT_BUFFER_SIZE; ++i) ASSERT_EQ(out[i], '\0') << i;
        EXPECT_EQ(fakePlatform().calls, std::vector<std::string>{"getModuleFileName"});
    }
}

TEST(HostExecutableDir, CapacityBounds) {
    // "C:\Java\bin\" is 12 bytes: 13 fit it with its zero, 12 do not.
    struct Case {
        int capacity;
        bool ok;
    } cases[] = {{13, true}, {12, false}, {1, false}};
    for (const Case& c : cases) {
        stageDisk();
        char out[16];
        for (char& b : out) b = 'Z';
        EXPECT_EQ(getHostExecutableDir(out, c.capacity), c.ok) << c.capacity;
        EXPECT_EQ(std::string(out, static_cast<size_t>(c.ok ? 12 : 0)), c.ok ? HOST : "");
        for (int i = c.ok ? 12 : 0; i < c.capacity; ++i) EXPECT_EQ(out[i], '\0') << c.capacity << " at " << i;
        EXPECT_EQ(out[c.capacity], 'Z');  // nothing written past the capacity
    }
    stageDisk();
    char out[4] = {'Z', 'Z', 'Z', 'Z'};
    EXPECT_FALSE(getHostExecutableDir(nullptr, 260));
    EXPECT_FALSE(getHostExecutableDir(out, 0));
    EXPECT_FALSE(getHostExecutableDir(out, -5));
    EXPECT_EQ(out[0], 'Z');
    EXPECT_TRUE(fakePlatform().calls.empty());
}

TEST(ProbeDirectory, NullArgumentsDoNothing) {
    stageDisk();
    char out[RESULT_BUFFER_SIZE] = {};
    EXPECT_FALSE(probeDirectory(nullptr, LOCAL, out));
    EXPECT_FALSE(probeDirectory(".pdf", nullptr, out));
    EXPECT_FALSE(probeDirectory(".pdf", LOCAL, nullptr));
    EXPECT_FALSE(findExecutableForExtension(".pdf", LOCAL, nullptr));
    EXPECT_TRUE(fakePlatform().calls.empty());
}

}  // namespace
