#!/usr/bin/env bash
# Start-up benchmark (not a test): time from process start to the main window waiting for input,
# over catalogues of 10, 100 and 1,000 generated entries (each with an icon file of its own),
# beside Wine's own control.exe and the naive floor (catalog_floor.exe: each entry's key opened
# once, its values read, its icon file mapped and one 32-pixel icon made) in the same run.
# Brindle is timed on first starts (its start-up cache removed before each) and on later starts
# (the cache the first of them wrote). Then 10 entries with check functions, and where the time
# of 1,000 entries goes. Five runs each; prints the medians and the cost per entry. Runs in a
# prefix of its own (.wine/bench) on its own Xvfb display (:91 unless BRINDLE_BENCH_DISPLAY says
# otherwise). BRINDLE_BENCH_BASELINE=DIR also times DIR/Brindle.exe (another build, with its
# QclRes.dll and BrindleCheck.exe beside it) on later starts in the same runs.
# Usage: scripts/bench.sh          (builds the i686 preset first)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
runs=${BRINDLE_BENCH_RUNS:-5}

cmake --preset i686 >/dev/null
cmake --build --preset i686 --target Brindle QclRes BrindleCheck startup_timer catalog_floor catalog_fixtures icon_fixtures desktop_holder search_bench >/dev/null
bin=$root/build/i686/bin

export BRINDLE_DISPLAY=${BRINDLE_BENCH_DISPLAY:-:91}
export BRINDLE_WINEPREFIX=$root/.wine/bench
source scripts/wine-env.sh
scripts/wine-up.sh "$bin/desktop_holder.exe" >/dev/null

winpath() { echo "Z:${1//\//\\}"; }
timer=$(winpath "$bin/startup_timer.exe")
brindle=$(winpath "$bin/Brindle.exe")
floor=$(winpath "$bin/catalog_floor.exe")
baseline=
[ -n "${BRINDLE_BENCH_BASELINE:-}" ] && baseline=$(winpath "$(cd "$BRINDLE_BENCH_BASELINE" && pwd)/Brindle.exe")
cache=$WINEPREFIX/drive_c/ProgramData/Brindle/catalog.cache
files=$WINEPREFIX/drive_c/bench
mkdir -p "$files"
# One icon-bearing file per entry, made once and kept between runs of the script. Written an hour
# ago as far as the cache can tell: it keeps nothing read from a file written moments before.
for i in $(seq 0 999); do
    [ -f "$files/app$i.dll" ] || cp "$bin/icon_groups.dll" "$files/app$i.dll"
done
touch -d '1 hour ago' "$files"/app*.dll

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

# One timed start of the given Windows command line (ms).
start() {
    wine "$timer" "$@" </dev/null 2>/dev/null | tr -d '\r'
}

# Times the catalogue registered now and stores the medians under `name`: control.exe, the floor,
# Brindle's first start (cache removed before it), a later start (the cache the first start just
# wrote), and the baseline. The kinds take turns within each round, so that whatever else the
# machine does at the time weighs on all of them alike; one round before the counted ones.
declare -A ms
measure_all() {
    local name=$1 kind round
    local -A samples=()
    for round in $(seq 0 "$runs"); do
        local c f a b z
        c=$(start control.exe)
        f=$(start "$floor")
        rm -f "$cache"
        a=$(start "$brindle")
        b=$(start "$brindle")
        z=0
        [ -n "$baseline" ] && z=$(start "$baseline")
        [ "$round" = 0 ] && continue
        samples[control]+="$c "; samples[floor]+="$f "; samples[first]+="$a "; samples[later]+="$b "; samples[base]+="$z "
    done
    for kind in control floor first later base; do
        ms[$kind$name]=$(printf '%s\n' ${samples[$kind]} | median)
    done
}

# The search box over 1,000 entries: each keystroke from the change of the text to the repainted
# page, beside a bare list view filled with as many rows in the same run. BRINDLE_BENCH_ONLY=search
# measures only this.
search_rows() {
    register 1000
    rm -f "$files/search.txt"
    wine "$(winpath "$bin/search_bench.exe")" 'C:\bench\search.txt' </dev/null >/dev/null 2>&1 || true
    echo "Search at 1,000 entries: each keystroke, text changed to page repainted (ms), and a bare list view's refill"
    tr -d '\r' < "$files/search.txt"
}
if [ "${BRINDLE_BENCH_ONLY:-}" = search ]; then
    search_rows
    exit 0
fi

for rows in 10 100 1000; do
    register "$rows"
    measure_all "$rows"
done
register 10 check
measure_all check
# Six checks of which four hang: they run side by side, so about one 5-second limit in all.
register 6 hang
measure_all hang
# Where the time of 1,000 entries goes: the catalogue's reads without icons, then with a failed icon.
register 1000 hidden
measure_all hidden
register 1000 noicon
measure_all noicon
wine reg delete 'HKLM\SOFTWARE\Marbeck\Quillon' /f </dev/null >/dev/null 2>&1 || true
rm -f "$cache"

for name in 10 100 1000 check hang hidden noicon; do
    echo "$name ${ms[control$name]} ${ms[floor$name]} ${ms[first$name]} ${ms[later$name]} ${ms[base$name]}"
done | awk -v runs="$runs" -v baseline="$baseline" '
{ control[$1] = $2; floor[$1] = $3; first[$1] = $4; later[$1] = $5; base[$1] = $6 }
function perEntry(v, v10, n) { return (v - v10) / (n - 10) }
function linear(name,    at100) { at100 = perEntry(name[100], name[10], 100); return at100 > 0 ? sprintf("%.2f", perEntry(name[1000], name[10], 1000) / at100) : "-" }
function row(label, name, n,    f, a, b, c) {
    f = n > 10 ? sprintf("%8.2f", perEntry(floor[name], floor[10], n)) : sprintf("%8s", "-")
    a = n > 10 ? sprintf("%8.2f", perEntry(first[name], first[10], n)) : sprintf("%8s", "-")
    b = n > 10 ? sprintf("%8.2f", perEntry(later[name], later[10], n)) : sprintf("%8s", "-")
    c = control[name]
    printf "%-33s %7.0f | %7.0f %s | %7.0f %6.2f %6.2f %s | %7.0f %6.2f %6.2f %s", label, c, floor[name], f,
        first[name], first[name] / c, first[name] / floor[name], a,
        later[name], later[name] / c, later[name] / floor[name], b
    if (baseline != "")
        printf " | %7.0f %6.2f", base[name], base[name] / c
    printf "\n"
}
END {
    printf "\nStart to main window ready for input, median of %d runs (ms), beside Wine'"'"'s own control.exe\n", runs
    printf "%-33s %7s | %16s | %30s | %30s", "", "control", "floor", "Brindle, first start (no cache)", "Brindle, later starts"
    if (baseline != "") printf " | %14s", "baseline"
    printf "\n%-33s %7s | %7s %8s | %7s %6s %6s %8s | %7s %6s %6s %8s", "Catalogue", "ms", "ms", "ms/entry",
        "ms", "x ctl", "x flr", "ms/entry", "ms", "x ctl", "x flr", "ms/entry"
    if (baseline != "") printf " | %7s %6s", "ms", "x ctl"
    printf "\n"
    row("10 entries", 10, 10)
    row("100 entries", 100, 100)
    row("1,000 entries", 1000, 1000)
    row("10 entries with check functions", "check", 10)
    row("6 entries with checks, 4 hanging", "hang", 10)
    print "Where the time of 1,000 entries goes:"
    row("  hidden: key and one value", "hidden", 1000)
    row("  every value, icon file missing", "noicon", 1000)
    row("  every value and the icon", 1000, 1000)
    printf "\nms/entry: growth per entry added to the 10-entry catalogue. x ctl: times control.exe in the same rounds;\nx flr: times the floor.\n"
    printf "Cost per entry at 1,000 / at 100: floor %s, first start %s, later starts %s\n", linear(floor), linear(first), linear(later)
    printf "A check function adds %.1f ms (first start) and %.1f ms (later starts) per checked entry.\n",
        (first["check"] - first[10]) / 10, (later["check"] - later[10]) / 10
}'
echo
search_rows
