package tessal.jni;

/**
 * Entry points of the native library tessal_jni. Every method takes one request
 * object whose fields carry the question (see {@link JNIRequest}); any object
 * whose class declares the fields a method reads will do. The request is only
 * read, never written: every answer is the return value.
 */
public class JNIManager {
    /** getIntValue("version") answers this interface version. */
    public static final int NATIVE_INTERFACE_VERSION = 13;

    /** execFunc function IDs. */
    public static final int FUNC_LAUNCH = 1;
    public static final int FUNC_PRINT = 2;
    /** execFunc results besides 0 (done) and the failure codes 1..32. */
    public static final int RESULT_NO_PARAM = -1;
    public static final int RESULT_NO_SUCH_FUNC = -2;

    static {
        String explicitPath = System.getProperty("tessal.jni.library");
        if (explicitPath != null && !explicitPath.isEmpty()) {
            System.load(explicitPath);
        } else {
            System.loadLibrary("tessal_jni");
        }
    }

    /** Program registered for m_strFileExt1 (then m_strFileExt2), probing in m_strLocalDir, temp, exe dir; null if none. */
    public native String findExecutable(Object request);

    /** m_strKey "version" or "isvista"; any other key answers m_dDefault. */
    public native int getIntValue(Object request);

    /** m_strKey one of the CSIDL_ folder names, else m_strDefaultValue; never null. */
    public native String getStringValue(Object request);

    /** m_dFuncIDAndReturnCode FUNC_LAUNCH or FUNC_PRINT on the text in m_Param. */
    public native int execFunc(Object request);
}
