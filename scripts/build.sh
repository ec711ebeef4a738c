#!/usr/bin/env bash
# Builds the Linux library (with its tests), the x86 and the x64 DLL, and
# leaves the products in dist/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

configure() {  # <build dir> [cmake args...]
  local dir=$1
  shift
  [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

configure build/x86 -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake
configure build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake
configure build/linux -DTESSAL_X86_BUILD="$root/build/x86" -DTESSAL_X64_BUILD="$root/build/x64" \
  -DDIST_DIR="$root/dist"
for dir in build/x86 build/x64 build/linux; do
  echo "building $dir"
  cmake --build "$dir" -j"$jobs" >"$dir/build.log" 2>&1 || { cat "$dir/build.log"; exit 1; }
done

mkdir -p dist/x86 dist/x64 dist/linux-x86-64
cp build/x86/tessal_jni.dll dist/x86/
cp build/x64/tessal_jni.dll dist/x64/
cp build/linux/libtessal_jni.so dist/linux-x86-64/
cp build/linux/tessal-jni.jar dist/tessal-jni.jar
ls -l dist/x86/tessal_jni.dll dist/x64/tessal_jni.dll dist/linux-x86-64/libtessal_jni.so dist/tessal-jni.jar
