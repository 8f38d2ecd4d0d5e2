#!/usr/bin/env bash
# Regenerates the screenshots in docs/: builds the preview program, registers the sample
# catalogue of scripts/run.sh and an entry with a long name, shows the main dialog on each of its
# three tabs (Recent Settings after a start from the List) and then the About box over it, in
# English and then with the German resource library, then the three tabs and the About box again
# at 120, 144 and 192 DPI (Wine's LogPixels; *-120.png and so on), under Xvfb in a Wine prefix of
# its own, takes the whole screen with ImageMagick's import and crops it to the window. The
# prefix is left at 96 DPI.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default: build/shots, configured for i686)
# Environment: BRINDLE_WINEPREFIX (default .wine/shots), BRINDLE_DISPLAY (default :96)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-$root/build/shots}
case $build in /*) ;; *) build=$root/$build ;; esac

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" --toolchain "$root/cmake/toolchain-i686-w64-mingw32.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 --target ui_preview QclRes QclRes_de desktop_holder

export BRINDLE_WINEPREFIX=${BRINDLE_WINEPREFIX:-$root/.wine/shots}
export BRINDLE_DISPLAY=${BRINDLE_DISPLAY:-:96}
source scripts/wine-env.sh
scripts/wine-up.sh "$build/bin/desktop_holder.exe"

# A desktop as large as the display, so that the window fits at 192 DPI; the explorer takes a new
# size only when it starts.
desktop_size=1280x1024
if ! wine reg query 'HKCU\Software\Wine\Explorer\Desktops' /v Default 2>/dev/null | grep -q "$desktop_size"; then
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop_size" /f </dev/null >/dev/null 2>&1
    wineserver -k || true
    wineserver -w || true
    scripts/wine-up.sh "$build/bin/desktop_holder.exe"
fi
# Each program reads the DPI when it starts.
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
}
trap 'set_dpi 96' EXIT
set_dpi 96

mkdir -p docs
geometry=$WINEPREFIX/drive_c/brindle-preview-geometry.txt

# The catalogue and the recent starts the previews show, and one entry with a name too long for
# a row of the List; it starts a program that ends at once (the preview itself, without arguments,
# whose icon it shows).
cp scripts/sample-catalog.reg "$WINEPREFIX/drive_c/brindle-sample-catalog.reg"
wine regedit /S 'C:\brindle-sample-catalog.reg' </dev/null >/dev/null 2>&1
quiet_program=$(winepath -w "$build/bin/ui_preview.exe" | sed 's/\\/\\\\/g')
cat > "$WINEPREFIX/drive_c/brindle-long-name.reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Marbeck\Quillon\DisplayCalibration]
"AppName"="Display Colour Calibration, Gamma Correction, Night Light Schedules and Colour Profiles for Every Monitor Attached to This Computer"
"AppPath"="$quiet_program"
"Category"=dword:00000005
"Description"="Colours, gamma and profiles of each monitor, one after the other."
REG
wine regedit /S 'C:\brindle-long-name.reg' </dev/null >/dev/null 2>&1

language=  # /lang:de: the texts of the German resource library
shoot() {  # shoot MODE OUTPUT.png [ENTRY_ID]
    local mode=$1 out=$2 entry=${3:-}
    rm -f "$geometry"
    ( cd "$build/bin" && setsid wine ui_preview.exe "$mode" 'C:\brindle-preview-geometry.txt' $entry $language \
        </dev/null >/dev/null 2>&1 ) &
    local pid=$!
    for _ in $(seq 150); do
        [ -s "$geometry" ] && break
        sleep 0.2
    done
    [ -s "$geometry" ] || { echo "screenshots.sh: the $mode window did not appear" >&2; kill "$pid" 2>/dev/null; exit 1; }
    sleep 0.5
    read -r left top right bottom < <(tr -d '\r' < "$geometry")
    local full
    full=$(mktemp --suffix=.png)
    /usr/bin/import -display "$DISPLAY" -window root "$full"
    # Wine's virtual desktop sits at the top-left corner of the X screen.
    /usr/bin/convert "$full" -crop "$((right - left))x$((bottom - top))+${left}+${top}" +repage "$out"
    rm -f "$full" "$geometry"  # the preview closes when its geometry file is gone
    wait "$pid" || true
    echo "wrote $out ($((right - left))x$((bottom - top)))"
}

shoot categories docs/tab-categories.png WineConfiguration
shoot list docs/tab-list.png DisplayCalibration
shoot recent-after-start docs/tab-recent.png DisplayCalibration
shoot about docs/about-box.png
language=/lang:de
shoot categories docs/main-dialog-de.png WineConfiguration
shoot about docs/about-box-de.png
language=
for dpi in 120 144 192; do
    set_dpi "$dpi"
    shoot categories "docs/tab-categories-$dpi.png" WineConfiguration
    shoot list "docs/tab-list-$dpi.png" InternetOptions
    shoot recent "docs/tab-recent-$dpi.png"
    shoot about "docs/about-box-$dpi.png"
done
set_dpi 96
