#!/usr/bin/env bash
# Builds Brindle's MSI packages, English and German, and the makers' kit into build/i686/ and
# prints their names: Brindle-<version>-en.msi, Brindle-<version>-de.msi and
# Brindle-maker-kit-<version>.zip, the version being the project's.
# Installs what is missing first (wixl comes with Debian's msitools).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
scripts/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686 --target package_en package_de
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/i686/CMakeCache.txt)
for lang in en de; do
    echo "$root/build/i686/Brindle-$version-$lang.msi"
done
scripts/package-kit.sh build/i686
