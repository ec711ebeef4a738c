package tessal.jni;

import static java.nio.charset.StandardCharsets.UTF_8;
import static org.junit.jupiter.api.Assertions.assertArrayEquals;
import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertSame;
import static org.junit.jupiter.api.Assertions.assertTrue;
import static org.junit.jupiter.api.Assumptions.assumeTrue;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.stream.Stream;

import org.junit.jupiter.api.BeforeAll;
import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.Arguments;
import org.junit.jupiter.params.provider.MethodSource;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * execFunc on Linux. Launches start a small script that the test writes into
 * a directory whose name holds a space ($TESSAL_TEST_WORK/exec func/): it
 * waits the seconds given as its first argument, then writes the rest of its
 * arguments, each followed by a zero byte, into the file named by its second
 * argument. What the script received shows how the command line was split.
 *
 * Whether a call started something is judged by the file it would write: the
 * file is looked for after a later launch has finished writing its own.
 */
class ExecFuncTest {
    static final int LAUNCH = JNIManager.FUNC_LAUNCH;
    static final int PRINT = JNIManager.FUNC_PRINT;
    static final int LAUNCH_LIMIT = 1039;  // longest command line that is started
    static final long PATIENCE_MS = 30_000;

    static Path dir;
    static Path script;
    static final AtomicInteger outputs = new AtomicInteger();

    /** Declares only the fields execFunc reads. */
    static class ExecOnlyRequest {
        byte[] m_Param;
        int m_dFuncIDAndReturnCode;
    }

    @BeforeAll
    static void writeScript() throws IOException {
        String work = System.getenv("TESSAL_TEST_WORK");
        assertNotNull(work, "the runner sets TESSAL_TEST_WORK");
        dir = Files.createDirectories(Path.of(work, "exec func").toAbsolutePath());
        script = dir.resolve("write args.sh");
        Files.writeString(script, "#!/bin/sh\n"
                + "# write args.sh <seconds> <output> <argument>...\n"
                + "sleep \"$1\"\n"
                + "out=$2\n"
                + "shift 2\n"
                + "for argument in \"$@\"; do printf '%s\\000' \"$argument\"; done > \"$out.part\"\n"
                + "mv \"$out.part\" \"$out\"\n");
        Files.setPosixFilePermissions(script, PosixFilePermissions.fromString("rwxr-xr-x"));
    }

    /** One call; the request must be left exactly as it was. */
    static int exec(byte[] param, int functionId) {
        JNIRequest request = new JNIRequest();
        request.m_Param = param;
        request.m_dFuncIDAndReturnCode = functionId;
        byte[] before = param == null ? null : param.clone();
        int result = new JNIManager().execFunc(request);
        assertSame(param, request.m_Param);
        assertArrayEquals(before, request.m_Param, "m_Param bytes unchanged");
        assertEquals(functionId, request.m_dFuncIDAndReturnCode, "m_dFuncIDAndReturnCode unchanged");
        return result;
    }

    static int exec(String text, int functionId) {
        return exec(text.getBytes(UTF_8), functionId);
    }

    static byte[] concat(byte[]... parts) {
        int length = 0;
        for (byte[] part : parts) length += part.length;
        byte[] all = new byte[length];
        int at = 0;
        for (byte[] part : parts) {
            System.arraycopy(part, 0, all, at, part.length);
            at += part.length;
        }
        return all;
    }

    static Path newOutput() {
        return dir.resolve("out" + outputs.incrementAndGet());
    }

    static String quoted(Object text) {
        return "\"" + text + "\"";
    }

    /** A command line running the script, which writes `arguments` (as split) into `output`. */
    static String scriptCommand(int seconds, Path output, String arguments) {
        return quoted(script) + " " + seconds + " " + quoted(output) + (arguments.isEmpty() ? "" : " " + arguments);
    }

    /** The arguments the script wrote into `output`, once it has written them. */
    static List<String> awaitArguments(Path output) throws IOException, InterruptedException {
        long deadline = System.nanoTime() + PATIENCE_MS * 1_000_000;
        while (!Files.exists(output)) {
            assertTrue(System.nanoTime() < deadline, "the launched program wrote " + output);
            Thread.sleep(20);
        }
        byte[] bytes = Files.readAllBytes(output);
        List<String> arguments = new ArrayList<>();
        int start = 0;
        for (int i = 0; i < bytes.length; ++i) {
            if (bytes[i] == 0) {
                arguments.add(new String(bytes, start, i - start, UTF_8));
                start = i + 1;
            }
        }
        assertEquals(bytes.length, start, "every argument ends in a zero byte");
        return arguments;
    }

    /** Runs a launch that must succeed and answers what the program received. */
    static List<String> launchAndCollect(String arguments) throws IOException, InterruptedException {
        Path output = newOutput();
        assertEquals(0, exec(scriptCommand(0, output, arguments), LAUNCH));
        return awaitArguments(output);
    }

    static Stream<Arguments> windowsSplitting() {
        return Stream.of(
                Arguments.of("plain words", List.of("plain", "words")),
                Arguments.of("\"a b\" c\\\"d", List.of("a b", "c\"d")),
                Arguments.of("\"a b\"c \"\" x", List.of("a bc", "", "x")),
                Arguments.of("a\\b c\\\\d e\\", List.of("a\\b", "c\\\\d", "e\\")),
                Arguments.of("a\\\\\"b c\"", List.of("a\\b c")),
                Arguments.of("a\\\\\\\"b", List.of("a\\\"b")),
                Arguments.of("\"x\"\"y\" z", List.of("x\"y", "z")),
                Arguments.of("\"\\\"quoted\\\"\"", List.of("\"quoted\"")),
                Arguments.of("\t  spaced\t\tout  ", List.of("spaced", "out")),
                Arguments.of("\"open to the end", List.of("open to the end")),
                Arguments.of("'single quotes' stay", List.of("'single", "quotes'", "stay")),
                Arguments.of("$HOME * ;|& `id` >x", List.of("$HOME", "*", ";|&", "`id`", ">x")),
                Arguments.of("\u00e9t\u00e9 \"\u00fc \u4e2d\"", List.of("\u00e9t\u00e9", "\u00fc \u4e2d")),
                Arguments.of("", List.of()));
    }

    @ParameterizedTest
    @MethodSource("windowsSplitting")
    void theProgramSeesItsArgumentsSplitByTheWindowsRules(String arguments, List<String> expected)
            throws IOException, InterruptedException {
        assertEquals(expected, launchAndCollect(arguments));
    }

    @Test
    void theProgramNameMayBeQuotedInPiecesOrFoundInPath() throws IOException, InterruptedException {
        // Quotes in the program name only group; backslashes there are plain bytes.
        Path output = newOutput();
        String pieces = dir.getParent() + "/\"exec func\"/write\" args.sh\"";
        assertEquals(0, exec(pieces + " 0 " + quoted(output) + " one", LAUNCH));
        assertEquals(List.of("one"), awaitArguments(output));

        // A name without a slash is searched in PATH: here sh, running the script.
        output = newOutput();
        assertEquals(0, exec("sh " + quoted(script) + " 0 " + quoted(output) + " two \"and three\"", LAUNCH));
        assertEquals(List.of("two", "and three"), awaitArguments(output));
    }

    @Test
    void launchReturnsWhileTheProgramStillRuns() throws IOException, InterruptedException {
        Path output = newOutput();
        assertEquals(0, exec(scriptCommand(1, output, "late"), LAUNCH));
        assertFalse(Files.exists(output), "execFunc returned before the program finished");
        assertEquals(List.of("late"), awaitArguments(output));
    }

    @ParameterizedTest
    @ValueSource(strings = {
        "/tessal/no/such/program arg", "tessal-no-such-program-in-path arg", "", "   ", "\"\" arg", "/", "/dev/null",
    })
    void aProgramThatCannotStartGivesOne(String command) {
        assertEquals(1, exec(command, LAUNCH));
    }

    @Test
    void aFileWithoutExecutePermissionGivesOne() throws IOException {
        Path plain = dir.resolve("not executable.sh");
        Files.writeString(plain, "#!/bin/sh\nexit 0\n");
        Files.setPosixFilePermissions(plain, PosixFilePermissions.fromString("rw-r--r--"));
        assertEquals(1, exec(quoted(plain), LAUNCH));
    }

    @Test
    void aNullArrayGivesMinusOneForEveryId() {
        for (int id : new int[] {LAUNCH, PRINT, 0, 3, -1}) {
            assertEquals(JNIManager.RESULT_NO_PARAM, exec((byte[]) null, id), "ID " + id);
        }
    }

    @Test
    void unknownIdsGiveMinusTwoAndStartNothing() throws IOException, InterruptedException {
        List<Path> never = new ArrayList<>();
        for (int id : new int[] {0, 3, -1, -2, Integer.MIN_VALUE, Integer.MAX_VALUE}) {
            Path output = newOutput();
            never.add(output);
            assertEquals(JNIManager.RESULT_NO_SUCH_FUNC, exec(scriptCommand(0, output, "x"), id), "ID " + id);
        }
        // A launch made afterwards has finished: anything started before would have too.
        assertEquals(List.of("after"), launchAndCollect("after"));
        for (Path output : never) assertFalse(Files.exists(output), output + " was never written");
    }

    @Test
    void aZeroByteEndsTheCommandText() throws IOException, InterruptedException {
        Path output = newOutput();
        Path ignored = newOutput();
        byte[] param = concat(scriptCommand(0, output, "kept \"also kept\"").getBytes(UTF_8), new byte[] {0},
                (" dropped ; " + scriptCommand(0, ignored, "no")).getBytes(UTF_8));
        assertEquals(0, exec(param, LAUNCH));
        assertEquals(List.of("kept", "also kept"), awaitArguments(output));

        // A zero byte first leaves no command at all.
        Path first = newOutput();
        assertEquals(1, exec(concat(new byte[] {0}, scriptCommand(0, first, "no").getBytes(UTF_8)), LAUNCH));
        assertEquals(List.of("after"), launchAndCollect("after"));
        assertFalse(Files.exists(ignored));
        assertFalse(Files.exists(first));
    }

    @Test
    void commandLinesUpTo1039BytesRunLongerOnesAreNeverCut() throws IOException, InterruptedException {
        Path refusedOutput = newOutput();
        String refused = padded(scriptCommand(0, refusedOutput, "p"), LAUNCH_LIMIT + 1);
        assertEquals(LAUNCH_LIMIT + 1, refused.getBytes(UTF_8).length);
        assertEquals(1, exec(refused, LAUNCH));

        Path output = newOutput();
        String longest = padded(scriptCommand(0, output, "p"), LAUNCH_LIMIT);
        assertEquals(0, exec(longest, LAUNCH));
        List<String> seen = awaitArguments(output);
        assertEquals(2, seen.size());
        assertEquals(longest.substring(longest.lastIndexOf(' ') + 1), seen.get(1));
        assertFalse(Files.exists(refusedOutput), "the 1040-byte command started nothing");
    }

    /** `command` and one more argument of x's, `length` bytes in all. */
    static String padded(String command, int length) {
        StringBuilder text = new StringBuilder(command).append(' ');
        while (text.length() < length) text.append('x');
        return text.toString();
    }

    @Test
    void printOfAMissingFileGivesTheFileNotFoundCode() {
        assertEquals(2, exec(dir.resolve("no such document.txt").toString(), PRINT));
        assertEquals(2, exec("/tessal/no/such/dir/document.txt", PRINT));
        assertEquals(2, exec("", PRINT));
    }

    @Test
    void printOfADirectoryHasNoAssociation() {
        assertEquals(31, exec(dir.toString(), PRINT));
        // The zero byte ends the path at the directory; beyond it lies a missing file.
        assertEquals(31, exec(concat(dir.toString().getBytes(UTF_8), new byte[] {0}, "/missing".getBytes(UTF_8)),
                PRINT));
    }

    @Test
    void printWithoutAPrintCommandHasNoAssociation() throws IOException {
        assumeTrue(!onPath("lp"), "only where no print command is installed");
        Path document = dir.resolve("document.txt");
        Files.writeString(document, "text\n");
        assertEquals(31, exec(document.toString(), PRINT));
    }

    static boolean onPath(String program) {
        String path = System.getenv("PATH");
        if (path == null) return false;
        return Arrays.stream(path.split(File.pathSeparator))
                .anyMatch(entry -> !entry.isEmpty() && Files.isExecutable(Path.of(entry, program)));
    }

    @Test
    void aRequestOfAnotherClassWorks() throws IOException, InterruptedException {
        Path output = newOutput();
        ExecOnlyRequest request = new ExecOnlyRequest();
        request.m_Param = scriptCommand(0, output, "other class").getBytes(UTF_8);
        request.m_dFuncIDAndReturnCode = LAUNCH;
        assertEquals(0, new JNIManager().execFunc(request));
        assertEquals(List.of("other", "class"), awaitArguments(output));
        assertEquals(LAUNCH, request.m_dFuncIDAndReturnCode);
    }

    @Test
    void manyLaunchesInARowAllStartAndLeaveNoChildBehind() throws InterruptedException {
        for (int i = 0; i < 200; ++i) {
            assertEquals(0, exec("/bin/true", LAUNCH), "launch " + i);
        }
        for (int i = 0; i < 50; ++i) {
            assertEquals(1, exec("/tessal/no/such/program " + i, LAUNCH), "failed launch " + i);
        }
        // Started programs are handed over at once: none stays a child (or zombie) of the JVM.
        assertEquals(0, ProcessHandle.current().children().count(), "no child process of the JVM remains");
    }
}
