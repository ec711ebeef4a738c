#!/usr/bin/env bash
# Runs the Windows test host against one DLL under Wine.
#   run_host.sh <prefix> <build-dir-with-host> <dll> <win7|win10> <expected isvista>
# All cases run in one process: a 32-bit Wine start costs close to a minute under emulation.
set -euo pipefail
prefix=$1 build=$2 dll=$3 winver=$4 expect=$5
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export TESSAL_EXPECT_ISVISTA=$expect
run=$build/host-run-$winver
mkdir -p "$run"
cp "$build/tessal_win_host.exe" "$run/tessal_host_$winver.exe"
cp "$dll" "$run/tessal_jni.dll"
helper=""
[ -f "$build/tessal_marker_helper.exe" ] && cp "$build/tessal_marker_helper.exe" "$run/" && helper="tessal_marker_helper.exe"
cd "$run"
/usr/lib/wine/wine64 "tessal_host_$winver.exe" tessal_jni.dll $helper
