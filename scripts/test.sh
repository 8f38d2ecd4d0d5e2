#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset i686 >/dev/null
cmake --build --preset i686
cmake --preset x86_64 >/dev/null
cmake --build --preset x86_64
scripts/wine-up.sh build/i686/bin/desktop_holder.exe
status=0
ctest --preset i686 || status=$?
if [ "${CI:-}" = true ]; then scripts/wine-down.sh; fi
exit $status
