#!/usr/bin/env bash
# Start-up benchmark (not a test): time from process start to Brindle's main window waiting for
# input, over catalogues of 10, 100 and 1,000 generated entries (each with an icon file of its
# own) and 10 entries that carry check functions, beside Wine's own control.exe. Five runs each;
# prints the medians and the cost per entry. Runs in a prefix of its own (.wine/bench) on its own
# Xvfb display (:91 unless BRINDLE_BENCH_DISPLAY says otherwise).
# Usage: scripts/bench.sh          (builds the i686 preset first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${BRINDLE_BENCH_RUNS:-5}

cmake --preset i686 >/dev/null
cmake --build --preset i686 --target Brindle QclRes startup_timer catalog_fixtures icon_fixtures desktop_holder >/dev/null
bin=$root/build/i686/bin

export BRINDLE_DISPLAY=${BRINDLE_BENCH_DISPLAY:-:91}
export BRINDLE_WINEPREFIX=$root/.wine/bench
source scripts/wine-env.sh
scripts/wine-up.sh "$bin/desktop_holder.exe" >/dev/null

winpath() { echo "Z:${1//\//\\}"; }
timer=$(winpath "$bin/startup_timer.exe")
brindle=$(winpath "$bin/Brindle.exe")
files=$WINEPREFIX/drive_c/bench
mkdir -p "$files"
# One icon-bearing file per entry, made once and kept between runs of the script.
for i in $(seq 0 999); do
    [ -f "$files/app$i.dll" ] || cp "$bin/icon_groups.dll" "$files/app$i.dll"
done

# Registers `count` entries. Mode "check": each also asks the fixture check library; "hang": as
# "check", but the checks of the first four entries never answer (their library's start-up
# hangs); "hidden": each is hidden (AppHide 1), so only the key and one value are read; "noicon":
# each names an icon file that does not exist, so every value is read and the icon fails.
register() {
    local count=$1 mode=${2:-}
    local reg=$files/catalog.reg
    {
        printf 'REGEDIT4\r\n\r\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon]\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon]\r\n\r\n'
        for i in $(seq 0 $((count - 1))); do
            printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\Bench%04d]\r\n' "$i"
            printf '"AppName"="Bench entry %d"\r\n"AppPath"="C:\\\\bench\\\\app%d.exe"\r\n' "$i" "$i"
            printf '"Category"=dword:%08x\r\n' $((i % 12))
            printf '"Description"="Generated entry %d\\\\nsecond line"\r\n' "$i"
            local icon=app$i.dll
            [ "$mode" = noicon ] && icon=none$i.dll
            printf '"IconPath"="C:\\\\bench\\\\%s"\r\n"IconIndex"=dword:%08x\r\n' "$icon" $((i % 5))
            [ "$mode" = hidden ] && printf '"AppHide"=dword:00000001\r\n'
            printf '"HelpPath"="C:\\\\bench\\\\app%d.chm"\r\n' "$i"
            if [ "$mode" = check ] || { [ "$mode" = hang ] && [ "$i" -ge 4 ]; }; then
                printf '"AppCheck"=dword:00000001\r\n"AppCheckFunc"="C:\\\\bench\\\\check_fixture.dll, CheckCdecl, 1"\r\n'
            elif [ "$mode" = hang ]; then
                printf '"AppCheck"=dword:00000001\r\n"AppCheckFunc"="C:\\\\bench\\\\hanging_check.dll, Check, 1"\r\n'
            fi
            printf '\r\n'
        done
    } > "$reg"
    wine regedit /S 'C:\bench\catalog.reg' </dev/null >/dev/null 2>&1
}
cp "$bin/check_fixture.dll" "$bin/hanging_check.dll" "$files/"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Median of `runs` timed starts of the given Windows command line.
measure() {
    local samples=()
    wine "$timer" "$@" </dev/null >/dev/null 2>&1 || true  # a warm-up start, not counted
    for _ in $(seq "$runs"); do
        samples+=("$(wine "$timer" "$@" </dev/null 2>/dev/null | tr -d '\r')")
    done
    printf '%s\n' "${samples[@]}" | median
}

declare -A ms
control=$(measure control.exe)
for rows in 10 100 1000; do
    register "$rows"
    ms[$rows]=$(measure "$brindle")
done
register 10 check
ms[check]=$(measure "$brindle")
# Six checks of which four hang: they run side by side, so about one 5-second limit in all.
register 6 hang
ms[hang]=$(measure "$brindle")
# Where the time of 1,000 entries goes: the catalogue's reads without icons, then with a failed icon.
register 1000 hidden
ms[hidden]=$(measure "$brindle")
register 1000 noicon
ms[noicon]=$(measure "$brindle")
wine reg delete 'HKLM\SOFTWARE\Marbeck\Quillon' /f </dev/null >/dev/null 2>&1 || true

awk -v runs="$runs" -v control="$control" -v m10="${ms[10]}" -v m100="${ms[100]}" -v m1000="${ms[1000]}" \
    -v check="${ms[check]}" -v hang="${ms[hang]}" -v hidden="${ms[hidden]}" -v noicon="${ms[noicon]}" 'BEGIN {
    printf "\nStart to main window ready for input, median of %d runs (ms)\n", runs
    printf "%-34s %8s %14s %12s\n", "Catalogue", "ms", "x control.exe", "ms / entry"
    printf "%-34s %8.0f %14.2f %12s\n", "control.exe (Wine'"'"'s own)", control, 1, "-"
    printf "%-34s %8.0f %14.2f %12s\n", "10 entries", m10, m10 / control, "-"
    printf "%-34s %8.0f %14.2f %12.2f\n", "100 entries", m100, m100 / control, (m100 - m10) / 90
    printf "%-34s %8.0f %14.2f %12.2f\n", "1,000 entries", m1000, m1000 / control, (m1000 - m10) / 990
    printf "%-34s %8.0f %14.2f %12.2f\n", "10 entries with check functions", check, check / control, (check - m10) / 10
    printf "%-34s %8.0f %14.2f %12s\n", "6 entries with checks, 4 hanging", hang, hang / control, "-"
    printf "\nWhere the time of 1,000 entries goes:\n"
    printf "%-34s %8.0f %14.2f %12.2f\n", "  hidden: key and one value read", hidden, hidden / control, (hidden - m10) / 990
    printf "%-34s %8.0f %14.2f %12.2f\n", "  every value, icon file missing", noicon, noicon / control, (noicon - m10) / 990
    printf "%-34s %8.0f %14.2f %12.2f\n", "  every value and the icon", m1000, m1000 / control, (m1000 - m10) / 990
    printf "\nms / entry: growth per entry added to the 10-entry catalogue (checks row: extra time per check).\n"
    if (m100 > m10)
        printf "Cost per entry at 1,000 / at 100: %.2f\n", ((m1000 - m10) / 990) / ((m100 - m10) / 90)
}'
