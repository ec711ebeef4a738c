package tessal.jni;

import static org.junit.jupiter.api.Assertions.assertEquals;
import static org.junit.jupiter.api.Assertions.assertThrows;

import org.junit.jupiter.api.Test;
import org.junit.jupiter.params.ParameterizedTest;
import org.junit.jupiter.params.provider.CsvSource;

class IntValueTest {
    /** Not JNIRequest, but declares the fields getIntValue reads. */
    static class OtherRequest {
        String m_strKey;
        int m_dDefault;
    }

    /** Lacks m_dDefault. */
    static class KeyOnlyRequest {
        String m_strKey = "version";
    }

    /** m_dDefault of another type. */
    static class MistypedRequest {
        String m_strKey = "version";
        long m_dDefault = 3;
    }

    static JNIRequest request(String key, int fallback) {
        JNIRequest request = new JNIRequest();
        request.m_strKey = key;
        request.m_dDefault = fallback;
        return request;
    }

    @ParameterizedTest
    @CsvSource({
        "version, 0, 13", "Version, -1, 13", "VERSION, 2147483647, 13", "vErSiOn, -2147483648, 13",
        "' version', 7, 7", "'version ', -7, -7", "'', 42, 42", "versions, -3, -3", "unknown, -2147483648, -2147483648",
    })
    void answersVersionOrTheDefault(String key, int fallback, int expected) {
        JNIRequest request = request(key, fallback);
        assertEquals(expected, new JNIManager().getIntValue(request));
        assertEquals(key, request.m_strKey);
        assertEquals(fallback, request.m_dDefault);
    }

    @Test
    void isvistaIsZeroOnLinux() {
        // Linux has no Windows version: the version call fails and isvista answers 0.
        assertEquals(0, new JNIManager().getIntValue(request("isvista", 9)));
    }

    @Test
    void nullKeyAnswersTheDefault() {
        assertEquals(-5, new JNIManager().getIntValue(request(null, -5)));
    }

    @Test
    void requestOfAnotherClassAndAnyReceiverGiveTheSameAnswer() {
        OtherRequest other = new OtherRequest();
        other.m_strKey = "VERSION";
        other.m_dDefault = 1;
        JNIManager first = new JNIManager();
        JNIManager second = new JNIManager();
        assertEquals(13, first.getIntValue(other));
        assertEquals(13, second.getIntValue(other));
        other.m_strKey = "nothing";
        assertEquals(1, second.getIntValue(other));
        assertEquals("nothing", other.m_strKey);
    }

    @Test
    void missingOrMistypedFieldThrowsNoSuchFieldError() {
        JNIManager manager = new JNIManager();
        assertThrows(NoSuchFieldError.class, () -> manager.getIntValue(new KeyOnlyRequest()));
        assertThrows(NoSuchFieldError.class, () -> manager.getIntValue(new MistypedRequest()));
        assertThrows(NoSuchFieldError.class, () -> manager.getIntValue(new Object()));
        // The library is still fine afterwards.
        assertEquals(13, manager.getIntValue(request("version", 0)));
    }
}
