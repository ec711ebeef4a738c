package tessal.jni;

import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertNotEquals;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertNull;
import static org.junit.jupiter.api.Assertions.assertTrue;

import java.io.IOException;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.FileTime;
import java.util.ArrayList;
import java.util.List;
import java.util.Set;
import java.util.TreeSet;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.stream.Stream;

import org.junit.jupiter.api.BeforeEach;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.api.io.TempDir;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * findExecutable on Linux, against the freedesktop fixture of the test run
 * ($TESSAL_TEST_XDG): *.tessaltest files have a type whose default
 * application is $TESSAL_TEST_XDG/bin/tessal-test-viewer; *.tessalnotype
 * files have no type at all.
 *
 * Besides the answers, the tests look at what a lookup leaves behind: files
 * that were there keep their bytes and time, no probe remains in the local,
 * the temporary ($TMPDIR, else /tmp) or the JVM executable's directory, and a
 * directory's modification time tells whether a probe was created in it.
 */
class FindExecutableTest {
    static final String KNOWN = ".tessaltest";
    static final String UNKNOWN = ".tessalnotype";
    static final String UNKNOWN_TOO = ".tessalnotype2";

    @TempDir
    Path work;

    Set<String> tempBefore;
    Set<String> exeBefore;

    static String program() {
        String xdg = System.getenv("TESSAL_TEST_XDG");
        assertNotNull(xdg, "the runner sets TESSAL_TEST_XDG");
        return Path.of(xdg, "bin", "tessal-test-viewer").toAbsolutePath().normalize().toString();
    }

    /** The directory the library falls back to: $TMPDIR, else /tmp. */
    static Path temporaryDirectory() {
        String tmp = System.getenv("TMPDIR");
        return Path.of(tmp == null || tmp.isEmpty() ? "/tmp" : tmp);
    }

    static Path executableDirectory() throws IOException {
        return Path.of("/proc/self/exe").toRealPath().getParent();
    }

    /** Names in `dir` of the form number + one of the test extensions. */
    static Set<String> probeLikeNames(Path dir) throws IOException {
        Set<String> names = new TreeSet<>();
        try (Stream<Path> entries = Files.list(dir)) {
            entries.map(p -> p.getFileName().toString())
                    .filter(n -> n.matches("[0-9]+(\\.tessaltest|\\.tessalnotype2?)"))
                    .forEach(names::add);
        }
        return names;
    }

    static Set<String> namesIn(Path dir) throws IOException {
        Set<String> names = new TreeSet<>();
        try (Stream<Path> entries = Files.list(dir)) {
            entries.forEach(p -> names.add(p.getFileName().toString()));
        }
        return names;
    }

    static String asLocalDir(Path dir) {
        return dir.toString() + "/";
    }

    static JNIRequest request(String localDir, String ext1, String ext2) {
        JNIRequest request = new JNIRequest();
        request.m_strLocalDir = localDir;
        request.m_strFileExt1 = ext1;
        request.m_strFileExt2 = ext2;
        return request;
    }

    /** One lookup; the request must come back as it went in. */
    static String find(String localDir, String ext1, String ext2) {
        JNIRequest request = request(localDir, ext1, ext2);
        String answer = new JNIManager().findExecutable(request);
        assertEquals(localDir, request.m_strLocalDir);
        assertEquals(ext1, request.m_strFileExt1);
        assertEquals(ext2, request.m_strFileExt2);
        return answer;
    }

    static FileTime modified(Path path) throws IOException {
        return Files.getLastModifiedTime(path);
    }

    /** Lets the file system clock move on before a change is to be seen in a modification time. */
    static void letClockMove() throws InterruptedException {
        Thread.sleep(30);
    }

    /** Bytes no probe would hold. */
    static byte[] userBytes(String tag) {
        byte[] text = ("user file " + tag + "\r\n").getBytes();
        byte[] bytes = new byte[text.length + 3];
        System.arraycopy(text, 0, bytes, 0, text.length);
        bytes[text.length] = 0;
        bytes[text.length + 1] = (byte) 0xF6;
        bytes[text.length + 2] = (byte) 0xFF;
        return bytes;
    }

    static Path place(Path path, byte[] bytes) throws IOException {
        Files.write(path, bytes, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
        return path;
    }

    @BeforeEach
    void rememberSharedDirectories() throws IOException {
        tempBefore = probeLikeNames(temporaryDirectory());
        exeBefore = probeLikeNames(executableDirectory());
    }

    /**
     * Probe-shaped names that `dir` holds now and did not hold before. Both
     * directories are shared with other processes (another test run may be
     * looking up the same types there), so a new name only counts when it is
     * still there a while later: a running lookup's probe is gone within
     * milliseconds, one left behind stays.
     */
    static Set<String> namesLeftBehind(Path dir, Set<String> before) throws IOException, InterruptedException {
        Set<String> added = new TreeSet<>();
        for (int attempt = 0; attempt < 20; ++attempt) {
            added = probeLikeNames(dir);
            added.removeAll(before);
            if (added.isEmpty()) break;
            Thread.sleep(100);
        }
        return added;
    }

    void assertNothingLeftInSharedDirectories() throws IOException, InterruptedException {
        assertEquals(Set.of(), namesLeftBehind(temporaryDirectory(), tempBefore), "probe left in the temporary directory");
        assertEquals(Set.of(), namesLeftBehind(executableDirectory(), exeBefore),
                "probe left in the executable's directory");
    }

    @Test
    void registeredTypeAnswersItsProgramThroughAProbeInTheLocalDirectory() throws Exception {
        FileTime before = modified(work);
        letClockMove();
        assertEquals(program(), find(asLocalDir(work), KNOWN, ".other"));
        assertTrue(namesIn(work).isEmpty(), "no probe left in the local directory");
        assertNotEquals(before, modified(work), "the probe was made in the local directory");
        assertNothingLeftInSharedDirectories();
    }

    @Test
    void secondExtensionAnswersWhenTheFirstIsRejected() throws Exception {
        assertEquals(program(), find(asLocalDir(work), "tessaltest", KNOWN));
        assertTrue(namesIn(work).isEmpty());
        assertNothingLeftInSharedDirectories();
    }

    @Test
    void unknownTypeIsNullAndLeavesNoProbe() throws Exception {
        FileTime before = modified(work);
        letClockMove();
        assertNull(find(asLocalDir(work), UNKNOWN, UNKNOWN_TOO));
        assertTrue(namesIn(work).isEmpty(), "no probe left in the local directory");
        assertNotEquals(before, modified(work), "the local directory was probed");
        assertNothingLeftInSharedDirectories();
    }

    /** Null or empty: the search begins in the temporary directory, which answers. */
    @ParameterizedTest
    @ValueSource(strings = {"null", ""})
    void nullOrEmptyLocalDirectoryStartsInTheTemporaryDirectory(String form) throws Exception {
        String localDir = form.equals("null") ? null : form;
        assertEquals(program(), find(localDir, KNOWN, KNOWN));
        assertNull(find(localDir, UNKNOWN, UNKNOWN_TOO));
        assertNothingLeftInSharedDirectories();
    }

    @ParameterizedTest
    @ValueSource(strings = {"tessaltest", ".t", ". tessaltest"})
    void rejectedExtensionFormsAreNullWithoutTouchingAnyFile(String form) throws Exception {
        FileTime before = modified(work);
        FileTime tempTime = modified(temporaryDirectory());
        letClockMove();
        assertNull(find(asLocalDir(work), form, form));
        assertNull(find(null, form, form));
        assertTrue(namesIn(work).isEmpty());
        assertEquals(before, modified(work), "nothing created in the local directory");
        assertNothingLeftInSharedDirectories();
        // The temporary directory is shared with other programs: its time is only reported.
        if (!tempTime.equals(modified(temporaryDirectory()))) {
            System.out.println("note: " + temporaryDirectory() + " changed during the rejected-form case");
        }
    }

    @Test
    void existingFileIsAskedAboutAndLeftUntouched() throws Exception {
        byte[] bytes = userBytes("zero");
        Path existing = place(work.resolve("0" + KNOWN), bytes);
        FileTime fileTime = modified(existing);
        FileTime dirTime = modified(work);
        letClockMove();
        assertEquals(program(), find(asLocalDir(work), KNOWN, KNOWN));
        assertArrayEquals(bytes, Files.readAllBytes(existing));
        assertEquals(fileTime, modified(existing));
        assertEquals(dirTime, modified(work), "the existing file answered: no probe was created");
        assertEquals(Set.of("0" + KNOWN), namesIn(work));
    }

    @Test
    void existingFileOfAnUnknownTypeIsKeptAndTheNextNameProbed() throws Exception {
        byte[] bytes = userBytes("unknown");
        Path existing = place(work.resolve("0" + UNKNOWN), bytes);
        FileTime fileTime = modified(existing);
        FileTime dirTime = modified(work);
        letClockMove();
        assertNull(find(asLocalDir(work), UNKNOWN, UNKNOWN));
        assertArrayEquals(bytes, Files.readAllBytes(existing));
        assertEquals(fileTime, modified(existing));
        assertNotEquals(dirTime, modified(work), "1" + UNKNOWN + " was probed");
        assertEquals(Set.of("0" + UNKNOWN), namesIn(work));
        assertNothingLeftInSharedDirectories();
    }

    /** Without a trailing separator the names are "<dir>0.ext", beside the directory. */
    @Test
    void localDirectoryWithoutSeparatorProbesBesideIt() throws Exception {
        Path inner = Files.createDirectory(work.resolve("nobs"));
        byte[] bytes = userBytes("sibling");
        Path sibling = place(work.resolve("nobs0" + KNOWN), bytes);
        FileTime workTime = modified(work);
        FileTime innerTime = modified(inner);
        letClockMove();
        assertEquals(program(), find(inner.toString(), KNOWN, KNOWN));
        assertArrayEquals(bytes, Files.readAllBytes(sibling));
        assertEquals(workTime, modified(work), "the sibling answered: nothing created");
        assertEquals(innerTime, modified(inner), "nothing created inside the directory");

        Files.delete(sibling);
        workTime = modified(work);
        letClockMove();
        assertEquals(program(), find(inner.toString(), KNOWN, KNOWN));
        assertNotEquals(workTime, modified(work), "the probe was made beside the directory");
        assertEquals(innerTime, modified(inner), "nothing created inside the directory");
        assertEquals(Set.of("nobs"), namesIn(work));
    }

    /**
     * Eight threads look up the same type in one directory while a ninth keeps
     * placing a file of its own under the first probe name. The lookups create
     * probes when 0.tessaltest is free, ask about the other file when it is
     * there and go on to the existing 1.tessaltest when it vanishes under
     * them; no lookup may write or remove a file it did not create.
     */
    @Test
    void concurrentLookupsInOneDirectory() throws Exception {
        byte[] oneBytes = userBytes("one");
        byte[] twoBytes = userBytes("two");
        Path one = place(work.resolve("1" + KNOWN), oneBytes);
        Path two = place(work.resolve("2" + KNOWN), twoBytes);
        FileTime oneTime = modified(one);
        FileTime twoTime = modified(two);
        String localDir = asLocalDir(work);
        String expected = program();
        int threads = 8;
        int lookups = 200;

        AtomicInteger answered = new AtomicInteger();
        AtomicInteger running = new AtomicInteger(threads);
        List<String> faults = java.util.Collections.synchronizedList(new ArrayList<>());
        AtomicInteger placed = new AtomicInteger();
        AtomicInteger nameTaken = new AtomicInteger();
        AtomicInteger damaged = new AtomicInteger();

        Path first = work.resolve("0" + KNOWN);
        byte[] intruderBytes = userBytes("intruder");
        Thread intruder = new Thread(() -> {
            while (running.get() > 0) {
                try {
                    Files.write(first, intruderBytes, StandardOpenOption.CREATE_NEW, StandardOpenOption.WRITE);
                } catch (FileAlreadyExistsException e) {
                    nameTaken.incrementAndGet();  // a lookup's probe holds the name
                    Thread.yield();
                    continue;
                } catch (IOException e) {
                    faults.add("intruder: " + e);
                    return;
                }
                placed.incrementAndGet();
                try {
                    Thread.sleep(1);
                    if (!java.util.Arrays.equals(intruderBytes, Files.readAllBytes(first))) damaged.incrementAndGet();
                    Files.delete(first);
                } catch (Exception e) {
                    damaged.incrementAndGet();  // gone or unreadable: someone touched it
                }
            }
        });
        intruder.start();
        // The first lookups start while the intruding file is there.
        while (placed.get() == 0 && intruder.isAlive()) Thread.yield();

        List<Thread> workers = new ArrayList<>();
        for (int t = 0; t < threads; ++t) {
            Thread worker = new Thread(() -> {
                try {
                    JNIManager manager = new JNIManager();
                    for (int i = 0; i < lookups; ++i) {
                        JNIRequest request = request(localDir, KNOWN, KNOWN);
                        String answer = manager.findExecutable(request);
                        if (expected.equals(answer)) answered.incrementAndGet();
                        else faults.add("answer " + answer);
                        if (!localDir.equals(request.m_strLocalDir) || !KNOWN.equals(request.m_strFileExt1)
                                || !KNOWN.equals(request.m_strFileExt2)) {
                            faults.add("request changed");
                        }
                    }
                } finally {
                    running.decrementAndGet();
                }
            });
            workers.add(worker);
            worker.start();
        }
        for (Thread worker : workers) worker.join();
        intruder.join();

        System.out.println("concurrent lookups: " + answered.get() + " answered; the intruding file was placed "
                + placed.get() + " times, found the name taken " + nameTaken.get() + " times");
        assertTrue(faults.isEmpty(), "faults: " + (faults.size() > 5 ? faults.subList(0, 5) : faults));
        assertEquals(threads * lookups, answered.get());
        assertEquals(0, damaged.get(), "a file placed under a probe name by someone else was touched");
        assertTrue(placed.get() > 0 && nameTaken.get() > 0,
                "both the lookups' probes and the other file held the first name at times");
        assertArrayEquals(oneBytes, Files.readAllBytes(one));
        assertArrayEquals(twoBytes, Files.readAllBytes(two));
        assertEquals(oneTime, modified(one));
        assertEquals(twoTime, modified(two));
        assertEquals(Set.of("1" + KNOWN, "2" + KNOWN), namesIn(work), "no probe left");
        assertNothingLeftInSharedDirectories();
    }
}
