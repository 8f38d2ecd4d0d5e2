#!/usr/bin/env bash
# Installs what the build, the tests and the sample run need from Debian's packages.
# Idempotent: installs only what is missing. Runs as root or through sudo.
set -euo pipefail
packages=(g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine wine32:i386 wine64
          xvfb x11-utils xdotool imagemagick fonts-wine cmake make googletest python3
          wixl msitools)
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi
as_root apt-get update -qq
as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
