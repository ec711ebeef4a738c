#!/usr/bin/env bash
# Creates the Wine prefix the Windows tests run in (inside the build tree) and
# imports the tests' registry settings. Does nothing when it is up to date.
#   prepare_prefix.sh <prefix> <helper-exe-unix-path>
set -euo pipefail
prefix=$1
helper=$2
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine64=/usr/lib/wine/wine64

stamp=$prefix/.tessal-ready
wanted=$(cat "$0" "$here"/*.reg.in | sha1sum | cut -c1-12)-$(echo "$helper" | sha1sum | cut -c1-12)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then
  exit 0
fi

exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/system.reg" ]; then
  echo "creating Wine prefix $prefix (takes a few minutes the first time)"
  "$wine64" wineboot -i >/dev/null 2>&1
  "$wine64" wineserver -w 2>/dev/null || /usr/lib/wine/wineserver -w || true
fi

# Registry templates: @HELPER_EXE@ becomes the helper's Windows path with doubled
# backslashes, as REGEDIT4 strings need; each one is written twice again here
# because the template substitution below halves them.
helper_windows="Z:$(echo "$helper" | sed 's|/|\\\\\\\\|g')"
for template in "$here"/*.reg.in; do
  out=$prefix/$(basename "$template" .in)
  sed "s|@HELPER_EXE@|$helper_windows|g" "$template" > "$out"
  "$wine64" regedit /S "Z:$(echo "$out" | sed 's|/|\\|g')" >/dev/null 2>&1
done
/usr/lib/wine/wineserver -w || true
echo "$wanted" > "$stamp"
