/* Machine-dependent JNI types for the Windows builds (32 and 64 bit).
   Exports come from the module-definition file, so JNIEXPORT adds nothing. */
#ifndef TESSAL_WIN32_JNI_MD_H
#define TESSAL_WIN32_JNI_MD_H

#define JNIEXPORT
#define JNIIMPORT
#define JNICALL __stdcall

typedef long jint;
typedef long long jlong;
typedef signed char jbyte;

#endif
