#!/usr/bin/env bash
# Builds Brindle and runs it on a small sample catalogue in a Wine prefix of its own
# (.wine/run): on your display when $DISPLAY is set and reachable, else on Xvfb.
# Takes a screenshot once the window is up; on Xvfb it then closes Brindle again.
# Usage: scripts/run.sh [SCREENSHOT.png]       (default: build/brindle-run.png)
# Environment: BRINDLE_BUILD_DIR  an already configured build folder to use instead of the
#                                 i686 preset (only Brindle and QclRes are built there)
#              BRINDLE_RUN_DISPLAY  the Xvfb display used when there is no display
#                                 (else BRINDLE_DISPLAY, else :95)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
shot=${1:-build/brindle-run.png}
case $shot in /*) ;; *) shot=$root/$shot ;; esac

scripts/install-deps.sh

if [ -n "${BRINDLE_BUILD_DIR:-}" ]; then
    build=$BRINDLE_BUILD_DIR
    cmake --build "$build" -j2 --target Brindle QclRes
else
    build=$root/build/i686
    cmake --preset i686 >/dev/null
    cmake --build --preset i686
fi
exe=$build/bin/Brindle.exe
[ -f "$exe" ] && [ -f "$build/bin/QclRes.dll" ] || { echo "run.sh: $exe or QclRes.dll is missing" >&2; exit 1; }

# The user's display when it answers; otherwise a private Xvfb.
on_xvfb=1
if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    export BRINDLE_DISPLAY=$DISPLAY
    on_xvfb=0
else
    export BRINDLE_DISPLAY=${BRINDLE_RUN_DISPLAY:-${BRINDLE_DISPLAY:-:95}}
fi
export BRINDLE_WINEPREFIX=$root/.wine/run
source scripts/wine-env.sh

# Wine's desktop lives on one display: when the display changed since the last run, start
# the prefix's Wine afresh (this also ends a Brindle left running there).
display_mark=$WINEPREFIX/.brindle-run-display
if [ -f "$display_mark" ] && [ "$(cat "$display_mark")" != "$DISPLAY" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
fi
scripts/wine-up.sh
echo "$DISPLAY" > "$display_mark"

# The sample catalogue (scripts/sample-catalog.reg): real programs of this prefix as the
# settings applications, and a few recent starts. Every run registers exactly this list.
cp scripts/sample-catalog.reg "$WINEPREFIX/drive_c/brindle-sample-catalog.reg"
wine regedit /S 'C:\brindle-sample-catalog.reg' </dev/null >/dev/null 2>&1

# Start Brindle detached (a running one is brought to the front instead) and wait for it.
setsid wine "$exe" </dev/null >/dev/null 2>&1 &
window=
for _ in $(seq 150); do
    window=$(xdotool search --name '^Brindle$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "run.sh: Brindle's window did not appear" >&2; exit 1; }
sleep 1  # let it paint

mkdir -p "$(dirname "$shot")"
/usr/bin/import -window root "$shot"

if [ "$on_xvfb" = 1 ]; then
    wine "$exe" /halt </dev/null >/dev/null 2>&1 || true
    for _ in $(seq 50); do
        xdotool search --name '^Brindle$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    echo "Brindle ran on Xvfb ($DISPLAY) and was closed again."
else
    echo "Brindle is running on $DISPLAY."
fi
echo "Screenshot: $shot"
