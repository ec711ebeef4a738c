package tessal.jni;

/** The request object of every JNIManager method: each method reads only its own fields. */
public class JNIRequest {
    /** findExecutable: a writable directory ending in a separator, or null/empty. */
    public String m_strLocalDir;
    /** findExecutable: the extension, with its dot, e.g. ".pdf". */
    public String m_strFileExt1;
    /** findExecutable: a second form of the extension, tried after the first. */
    public String m_strFileExt2;
    /** getIntValue, getStringValue: the key. */
    public String m_strKey;
    /** getIntValue: the answer for keys it does not know. */
    public int m_dDefault;
    /** getStringValue: the answer for keys it does not know. */
    public String m_strDefaultValue;
    /** execFunc: the command line or document path, in the encoding the platform expects. */
    public byte[] m_Param;
    /** execFunc: FUNC_LAUNCH or FUNC_PRINT; never written. */
    public int m_dFuncIDAndReturnCode;
}
