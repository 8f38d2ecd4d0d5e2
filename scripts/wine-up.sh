#!/usr/bin/env bash
# Brings up what makes Wine fast and windows real: an X display (Xvfb unless
# BRINDLE_DISPLAY names a live one), the project's 32-bit prefix with a virtual
# desktop, a persistent wineserver and one process holding the desktop.
# Usage: wine-up.sh HOLDER_EXE    (daemons are detached from our pipes)
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
holder=${1:-}

if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
    # Wine processes of this prefix that outlived their display are of no use: start afresh.
    wineserver -k 2>/dev/null || true
    rm -f "$WINEPREFIX/.desktop-holder.pid"
    setsid Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    for _ in $(seq 50); do xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix $WINEPREFIX (once)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i </dev/null >/dev/null 2>&1 || true
    wineserver -w
    # A virtual desktop gives windows frames and makes closing them cheap without a window manager.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
    wineserver -w
fi

# Wine's own TrueType fonts (Tahoma, Marlett for the caption buttons) are not found by this
# Wine unless they sit in the prefix's Fonts folder.
cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true

# Outside any caller's pipe: a wineserver started inside CTest's pipe makes CTest hang.
setsid wineserver -p </dev/null >/dev/null 2>&1 || true
setsid wine wineboot </dev/null >/dev/null 2>&1 || true
pidfile="$WINEPREFIX/.desktop-holder.pid"
if [ -n "$holder" ] && ! { [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; }; then
    setsid wine "$holder" </dev/null >/dev/null 2>&1 &
    echo $! > "$pidfile"
    sleep 0.5
fi
