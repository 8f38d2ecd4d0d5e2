#!/usr/bin/env bash
# Builds the maker's kit: BUILD_DIR/Brindle-maker-kit-<version>.zip with the inspector and its
# check helper, the check header, the sample check library with its sources, the sample
# registration, help file and icon, and the README's sections for makers.
# Usage: package-kit.sh [BUILD_DIR]   (default build/i686; the i686 build is the product)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/i686}" && pwd)

cmake --build "$build" --target BrindleCatalog BrindleCheck sample_check >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }
name=Brindle-maker-kit-$version

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
kit=$stage/$name
mkdir -p "$kit/bin" "$kit/sdk"
cp "$build/bin/BrindleCatalog.exe" "$build/bin/BrindleCheck.exe" "$build/bin/sample_check.dll" "$kit/bin/"
cp "$root/sdk/brindle_check.h" "$root/sdk/sample_check.c" "$root/sdk/sample_check.def" "$root/sdk/sample_check.rc" \
   "$root/sdk/sample.reg" "$root/sdk/sample_help.txt" "$build/res/gen/brindle.ico" "$kit/sdk/"
# The makers' part of the README: registering, checking a registration, shipping.
{
    echo "# Brindle maker's kit $version"
    echo
    awk '/^## Registering a settings application/ {on = 1} /^## Screenshots/ {on = 0} on' "$root/README.md"
} > "$kit/README.md"

zipfile=$build/$name.zip
rm -f "$zipfile"
if command -v zip >/dev/null; then
    (cd "$stage" && zip -qrX "$zipfile" "$name")
else
    python3 - "$stage" "$name" "$zipfile" <<'PY'
import os, sys, zipfile
stage, name, out = sys.argv[1:]
with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
    for folder, _, files in sorted(os.walk(os.path.join(stage, name))):
        for f in sorted(files):
            path = os.path.join(folder, f)
            z.write(path, os.path.relpath(path, stage))
PY
fi
echo "$zipfile"
