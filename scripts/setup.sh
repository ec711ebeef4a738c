#!/usr/bin/env bash
# Installs what the build and the tests need on a bare Debian 12 machine (as root).
# Every step checks first, so a machine that has everything passes through in a second.
set -euo pipefail

log() { printf '[setup] %s\n' "$*"; }

packages=(
  cmake make g++ pkg-config
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 wine32:i386 qemu-user-static
  openjdk-17-jdk-headless junit5
  libgtest-dev googletest
  python3 python3-pefile
  libglib2.0-dev libglib2.0-bin shared-mime-info
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    log "adding the i386 architecture"
    dpkg --add-architecture i386
  fi
  log "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# This kernel cannot run 32-bit x86 programs itself; 32-bit Wine runs through qemu-i386.
binfmt=/proc/sys/fs/binfmt_misc
if [ ! -e "$binfmt/register" ]; then
  log "mounting binfmt_misc"
  mount -t binfmt_misc binfmt_misc "$binfmt" || true
fi
if [ -e "$binfmt/register" ] && [ ! -e "$binfmt/qemu-i386" ]; then
  log "registering qemu-i386 for i386 ELF"
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' > "$binfmt/register"
fi
log "ready"
