#!/usr/bin/env bash
# Compiles and runs the JUnit 5 tests with -Xcheck:jni; any JNI warning fails the run.
#   run_jvm_tests.sh <jdk> <library classes> <libtessal_jni.so> <work dir>
set -euo pipefail
jdk=$1 classes=$2 library=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
junit=/usr/share/java/junit-platform-console-standalone.jar
rm -rf "$work"
mkdir -p "$work/classes"
"$jdk/bin/javac" -nowarn -d "$work/classes" -cp "$classes:$junit" $(find "$here" -name '*.java')
# Fixtures the tests use (an XDG data/config tree of their own, a scratch dir).
export TESSAL_TEST_WORK=$work
export TESSAL_TEST_SCRIPTS=$here
set +e
"$jdk/bin/java" -Xcheck:jni -Dtessal.jni.library="$library" -jar "$junit" \
  -cp "$classes:$work/classes" --scan-classpath "$work/classes" --disable-banner \
  --details=tree --disable-ansi-colors > "$work/output.txt" 2>&1
status=$?
set -e
cat "$work/output.txt"
if grep -E -n 'WARNING in native method|FATAL ERROR in native method|^WARNING: JNI|JNI warning' "$work/output.txt"; then
  echo "FAILED: the JVM reported JNI warnings"
  exit 1
fi
exit $status
