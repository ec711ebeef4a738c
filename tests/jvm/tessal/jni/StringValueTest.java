package tessal.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertFalse;
import static org.junit.jupiter.api.Assertions.assertNotNull;
import static org.junit.jupiter.api.Assertions.assertThrows;

import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;
import org.junit.jupiter.params.provider.ValueSource;

/**
 * getStringValue on Linux. The runner points the XDG base directories at a
 * tree of its own, so the folder answers are known here.
 */
class StringValueTest {
    /** Not JNIRequest, but declares the fields getStringValue reads. */
    static class OtherRequest {
        int m_dDefault = 7;
        String m_strDefaultValue;
        String m_strKey;
    }

    /** Lacks m_strDefaultValue. */
    static class KeyOnlyRequest {
        String m_strKey = "CSIDL_APPDATA";
    }

    /** Lacks m_strKey. */
    static class DefaultOnlyRequest {
        String m_strDefaultValue = "fallback";
    }

    /** m_strDefaultValue of another type. */
    static class MistypedRequest {
        String m_strKey = "nothing";
        char[] m_strDefaultValue = {'d'};
    }

    static JNIRequest request(String key, String fallback) {
        JNIRequest request = new JNIRequest();
        request.m_strKey = key;
        request.m_strDefaultValue = fallback;
        return request;
    }

    static String ask(String key, String fallback) {
        JNIRequest request = request(key, fallback);
        String answer = new JNIManager().getStringValue(request);
        assertNotNull(answer, "getStringValue never answers null");
        assertEquals(key, request.m_strKey);
        assertEquals(fallback, request.m_strDefaultValue);
        return answer;
    }

    /** An environment variable the runner sets, without trailing slashes. */
    static String directory(String variable) {
        String value = System.getenv(variable);
        assertNotNull(value, variable + " is set by the test runner");
        assertFalse(value.isEmpty(), variable + " is set by the test runner");
        return value.replaceAll("(?<=.)/+$", "");
    }

    static String expectedFolder(String upperKey) {
        switch (upperKey) {
            case "CSIDL_APPDATA":
                return directory("XDG_CONFIG_HOME");
            case "CSIDL_LOCAL_APPDATA":
                return directory("XDG_DATA_HOME");
            case "CSIDL_COMMON_APPDATA":
                return directory("XDG_CONFIG_DIRS").split(":")[0].replaceAll("(?<=.)/+$", "");
            case "CSIDL_SYSTEM":
                return "/usr/bin";
            case "CSIDL_PROGRAM_FILES":
                return "/opt";
            default:
                // CSIDL_COMMON_DESKTOPDIRECTORY and CSIDL_COMMON_DOCUMENTS have no Linux counterpart.
                return "";
        }
    }

    @ParameterizedTest
    @ValueSource(strings = {
        "CSIDL_APPDATA", "csidl_appdata", "Csidl_AppData",
        "CSIDL_LOCAL_APPDATA", "csidl_local_appdata", "cSiDl_LoCaL_aPpDaTa",
        "CSIDL_COMMON_APPDATA", "csidl_common_appdata", "CSIDL_Common_AppData",
        "CSIDL_SYSTEM", "csidl_system", "Csidl_System",
        "CSIDL_PROGRAM_FILES", "csidl_program_files", "CSIDL_Program_Files",
        "CSIDL_COMMON_DESKTOPDIRECTORY", "csidl_common_desktopdirectory", "Csidl_Common_DesktopDirectory",
        "CSIDL_COMMON_DOCUMENTS", "csidl_common_documents", "csidl_COMMON_documents",
    })
    void folderNamesAnswerTheirMappedPathNeverTheDefault(String key) {
        assertEquals(expectedFolder(key.toUpperCase(java.util.Locale.ROOT)), ask(key, "not-a-folder"));
    }

    @Test
    void userFoldersFollowTheRunnersXdgTree() {
        String tree = directory("TESSAL_TEST_XDG");
        assertEquals(tree + "/config", ask("CSIDL_APPDATA", ""));
        assertEquals(tree + "/data", ask("CSIDL_LOCAL_APPDATA", ""));
        assertEquals(tree + "/etc", ask("CSIDL_COMMON_APPDATA", ""));
    }

    @ParameterizedTest
    @CsvSource({
        "CSIDL_DESKTOP, desk", "CSIDL_PERSONAL, /home/mine", "CSIDL_WINDOWS, win",
        "CSIDL_PROGRAM_FILESX86, pf86", "' CSIDL_APPDATA', lead", "'CSIDL_APPDATA ', trail",
        "CSIDL_APPDAT, short", "APPDATA, bare", "26, number", "nothing, nothing at all",
        "'', empty key", "nothing, ''", "nothing, ' spaces  and tabs\t'",
        "CS\u0131DL_APPDATA, dotless i is not I", "nothing, 'caf\u00e9 \u20ac \uD83D\uDE00 \u0000 end'",
    })
    void otherKeysAnswerTheDefaultByteForByte(String key, String fallback) {
        assertEquals(fallback, ask(key, fallback));
    }

    @Test
    void defaultIsKeptUpTo259BytesAndCutAfter() {
        String longest = "L" + "x".repeat(257) + "Z";
        assertEquals(259, longest.length());
        assertEquals(longest, ask("nothing", longest));
        assertEquals(longest, ask("nothing", longest + "0"));
        assertEquals(longest, ask("CSIDL_DESKTOP", longest + "y".repeat(1000)));
        assertEquals(longest.substring(0, 258), ask("nothing", longest.substring(0, 258)));
        // Bytes, not chars: an e-acute takes two bytes in the JVM's modified UTF-8.
        String accented = "\u00e9".repeat(129) + "a";
        assertEquals(accented, ask("nothing", accented));
    }

    @Test
    void aLongKeyNeverMatches() {
        assertEquals("fallback", ask("CSIDL_APPDATA" + " ".repeat(300), "fallback"));
    }

    @Test
    void nullFieldsAnswerTheEmptyStringNeverNull() {
        assertEquals("", ask("nothing", null));
        assertEquals("", ask("CSIDL_APPDATA", null));
        assertEquals("", ask(null, "fallback"));
        assertEquals("", ask(null, null));
    }

    @Test
    void requestOfAnotherClassAndAnyReceiverGiveTheSameAnswer() {
        OtherRequest other = new OtherRequest();
        other.m_strKey = "csidl_appdata";
        other.m_strDefaultValue = "fallback";
        JNIManager first = new JNIManager();
        JNIManager second = new JNIManager();
        assertEquals(expectedFolder("CSIDL_APPDATA"), first.getStringValue(other));
        assertEquals(expectedFolder("CSIDL_APPDATA"), second.getStringValue(other));
        other.m_strKey = "nothing";
        assertEquals("fallback", second.getStringValue(other));
        assertEquals("nothing", other.m_strKey);
        assertEquals("fallback", other.m_strDefaultValue);
        assertEquals(7, other.m_dDefault);
    }

    @Test
    void missingOrMistypedFieldThrowsNoSuchFieldError() {
        JNIManager manager = new JNIManager();
        assertThrows(NoSuchFieldError.class, () -> manager.getStringValue(new KeyOnlyRequest()));
        assertThrows(NoSuchFieldError.class, () -> manager.getStringValue(new DefaultOnlyRequest()));
        assertThrows(NoSuchFieldError.class, () -> manager.getStringValue(new MistypedRequest()));
        assertThrows(NoSuchFieldError.class, () -> manager.getStringValue(new Object()));
        // The library is still fine afterwards.
        assertEquals("d", manager.getStringValue(request("nothing", "d")));
    }
}
