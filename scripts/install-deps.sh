#!/usr/bin/env bash
# Installs what the build, the tests and the sample run need from Debian's packages.
# Idempotent: installs only what is missing. Runs as root or through sudo.
# Environment: BRINDLE_APT_ETC  the folder holding os-release and apt/ (default /etc; tests)
set -euo pipefail
packages=(g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 wine wine32:i386 wine64
          xvfb x11-utils xdotool imagemagick fonts-wine cmake make googletest python3
          wixl msitools)
etc=${BRINDLE_APT_ETC:-/etc}
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
apt_install() { as_root env DEBIAN_FRONTEND=noninteractive apt-get "$@" install -y -qq "${missing[@]}" >/dev/null; }

# The first archive address of the configured sources that is not the security archive.
main_archive() {
    local files=() f
    [ -f "$etc/apt/sources.list" ] && files+=("$etc/apt/sources.list")
    for f in "$etc"/apt/sources.list.d/*.list "$etc"/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && files+=("$f")
    done
    [ ${#files[@]} -gt 0 ] && grep -hoE '(https?|file)://[^ ]+' "${files[@]}" | grep -v security | head -n1
}

# A sources list of the release's own suites without the security suite: a mirror can serve a
# security index for one architecture that does not match the other, and the 64-bit and 32-bit
# halves of Wine then come in different versions that cannot be installed together.
write_release_sources() {
    local codename uri
    codename=$(. "$etc/os-release" && echo "${VERSION_CODENAME:-}")
    [ -n "$codename" ] || return 1
    uri=$(main_archive || true)
    uri=${uri:-http://deb.debian.org/debian}
    printf 'deb %s %s main\ndeb %s %s-updates main\n' "$uri" "$codename" "$uri" "$codename" >"$1"
}

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi
# One failed index (a mirror being synchronised) fails the whole update; the indices that did
# come are enough for most installs, and the retry below covers the rest.
as_root apt-get update -qq || echo "install-deps: apt-get update reported errors; going on with the indices it fetched" >&2
apt_install && exit 0

echo "install-deps: the install failed; retrying once against the release's suites without the security suite" >&2
sources=$(mktemp)
trap 'rm -f "$sources"' EXIT
if write_release_sources "$sources"; then
    release=(-o "Dir::Etc::sourcelist=$sources" -o "Dir::Etc::sourceparts=/nonexistent")
    if as_root apt-get "${release[@]}" update -qq && apt_install "${release[@]}"; then
        exit 0
    fi
fi
echo "install-deps: could not install ${missing[*]}." >&2
echo "install-deps: check the package sources (apt-get update) and install them by hand, then run this again." >&2
exit 1
