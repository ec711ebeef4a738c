#!/usr/bin/env bash
# One entry for a fresh machine:
#   bash scripts/run.sh demo   set up, build everything into dist/, show every native's answers
#   bash scripts/run.sh test   set up, build, run every test (ends in CTest's summary)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-demo}
cd "$root"

bash scripts/setup.sh
bash scripts/build.sh

case "$mode" in
  demo) bash scripts/demo.sh ;;
  test) ctest --test-dir build/linux --output-on-failure -j2 ;;
  *) echo "usage: scripts/run.sh demo|test" >&2; exit 2 ;;
esac
