import tessal.jni.JNIManager;
import tessal.jni.JNIRequest;

/** Prints every native's answers through the Linux library in this JVM. */
public class Demo {
    public static void main(String[] args) {
        JNIManager manager = new JNIManager();
        JNIRequest request = new JNIRequest();
        for (String key : new String[] {"version", "isvista", "other"}) {
            request.m_strKey = key;
            request.m_dDefault = -1;
            System.out.println("getIntValue(\"" + key + "\", default -1) = " + manager.getIntValue(request));
        }
        String[] folders = {"CSIDL_COMMON_APPDATA", "CSIDL_LOCAL_APPDATA", "CSIDL_APPDATA",
            "CSIDL_COMMON_DESKTOPDIRECTORY", "CSIDL_SYSTEM", "CSIDL_COMMON_DOCUMENTS", "CSIDL_PROGRAM_FILES",
            "CSIDL_DESKTOP"};
        for (String key : folders) {
            request.m_strKey = key;
            request.m_strDefaultValue = "(default)";
            System.out.println("getStringValue(\"" + key + "\") = \"" + manager.getStringValue(request) + "\"");
        }
        request.m_strFileExt1 = ".txt";
        request.m_strFileExt2 = ".text";
        System.out.println("findExecutable(\".txt\") = " + manager.findExecutable(request));
        String[][] launches = {{"1", "true"}, {"1", "no_such_program_here"}, {"2", "/no/such/file.txt"}};
        for (String[] launch : launches) {
            request.m_dFuncIDAndReturnCode = Integer.parseInt(launch[0]);
            request.m_Param = launch[1].getBytes();
            System.out.println("execFunc(" + launch[0] + ", \"" + launch[1] + "\") = " + manager.execFunc(request));
        }
    }
}
