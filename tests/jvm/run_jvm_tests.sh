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
# Fixtures the tests use: a scratch dir and an XDG tree of their own, so the
# answers do not depend on the machine's desktop settings.
export TESSAL_TEST_WORK=$work
export TESSAL_TEST_SCRIPTS=$here
xdg=$work/xdg
mkdir -p "$xdg/data" "$xdg/config" "$xdg/etc"
[ -x "$here/make_xdg_fixture.sh" ] && "$here/make_xdg_fixture.sh" "$xdg"
export XDG_DATA_HOME=$xdg/data XDG_CONFIG_HOME=$xdg/config
export XDG_DATA_DIRS=$xdg/data:/usr/share XDG_CONFIG_DIRS=$xdg/etc
export TESSAL_TEST_XDG=$xdg
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
