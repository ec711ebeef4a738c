#!/usr/bin/env bash
# Shows every native's answers through the real x86 DLL under 32-bit Wine and
# through the real JVM on Linux.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jdk=$(dirname "$(dirname "$(readlink -f "$(command -v javac)")")")
prefix=$root/build/linux/wineprefix
tests/wine/prepare_prefix.sh "$prefix" "$root/build/x64/tessal_marker_helper.exe"

echo "== x86 DLL under 32-bit Wine (one process; about a minute under emulation) =="
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
run=$root/build/x86/demo-run
mkdir -p "$run"
cp build/x86/tessal_demo.exe dist/x86/tessal_jni.dll "$run/"
# The harmless program the demo launches: it only leaves demo-launch.ran behind.
cp build/x64/tessal_marker_helper.exe "$run/"
rm -f "$run/demo-launch.ran"
(cd "$run" && /usr/lib/wine/wine64 tessal_demo.exe tessal_jni.dll)
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -f "$run/demo-launch.ran" ] && break; sleep 1; done
[ -f "$run/demo-launch.ran" ] && echo "the launched program ran: $(cat "$run/demo-launch.ran")"

echo "== Linux library in the JVM =="
mkdir -p build/linux/demo-classes
"$jdk/bin/javac" -nowarn -d build/linux/demo-classes -cp dist/tessal-jni.jar tests/demo/Demo.java
"$jdk/bin/java" -Xcheck:jni -Dtessal.jni.library="$root/dist/linux-x86-64/libtessal_jni.so" \
  -cp "dist/tessal-jni.jar:build/linux/demo-classes" Demo
