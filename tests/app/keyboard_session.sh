#!/usr/bin/env bash
# Brindle driven by the keyboard alone, with real key events from outside the process: on a
# catalogue of two recording programs, move to "List", select the second entry, start it with
# the Open button, see it run, find it under "Recent Settings" and start it from there, and
# close Brindle with Escape.
# Usage: keyboard_session.sh BIN_DIR   (Wine brought up by scripts/wine-up.sh; BRINDLE_DISPLAY set)
set -euo pipefail
bin=$(cd "$1" && pwd)
source "$(dirname "$0")/../../scripts/wine-env.sh"
source "$(dirname "$0")/session_common.sh"

records_with() { [ -f "$record" ] && [ "$(grep -c -- "$1" "$record" || true)" -ge "$2" ]; }

# No instance of an earlier run may take the start over.
quiet wine "$bin/Brindle.exe" /halt || true
wait_for 50 bash -c '! xdotool search --onlyvisible --name "^Brindle\$" >/dev/null 2>&1' || fail "an earlier Brindle did not end"

program=$(winepath -w "$bin/record_args.exe")
icon=$(winepath -w "$bin/Brindle.exe")  # the recorder has no icon of its own
folder=$(winepath -w "$work")
reg=$work/catalog.reg
escape() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
cat > "$reg" <<REG
REGEDIT4

[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon]
[-HKEY_CURRENT_USER\\Software\\Marbeck\\Quillon]

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\AlphaRecorder]
"AppName"="Alpha Recorder"
"AppPath"="$(escape "$program")"
"AppOption"="alpha-started"
"Category"=dword:00000001
"IconPath"="$(escape "$icon")"
"Description"="Records that it was started."

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\BetaRecorder]
"AppName"="Beta Recorder"
"AppPath"="\\"$(escape "$program")\\""
"AppOption"="beta-started"
"Folder"="$(escape "$folder")"
"Category"=dword:00000001
"IconPath"="$(escape "$icon")"
"Description"="Records that it was started, too."
REG
quiet wine regedit /S "$(winepath -w "$reg")"

export BRINDLE_RECORD_FILE
BRINDLE_RECORD_FILE=$(winepath -w "$record")
export BRINDLE_RECORD_STAY=4000
setsid wine "$bin/Brindle.exe" </dev/null >/dev/null 2>&1 &
brindle_pid=$!
window=
find_window() { window=$(xdotool search --onlyvisible --name '^Brindle$' 2>/dev/null | head -n 1); [ -n "$window" ]; }
wait_for 150 find_window || fail "Brindle's window did not appear"
sleep 0.5  # the focus goes to the first view once the dialog's loop runs

# The tree has the focus: Tab to the tab strip, Right to "List" (its first entry is then
# selected and Open enabled), Tab to Open, Tab past the disabled Help into the list, End to the
# second entry, Shift+Tab back to Open, Enter.
keys Tab Right Tab Tab End shift+Tab Return
wait_for 100 records_with beta-started 1 || fail "Enter on Open did not start the selected entry"
pgrep -f record_args.exe >/dev/null || fail "the started program is not running"
records_with alpha-started 1 && fail "the other entry was started"
grep -qF -- "beta-started"$'\t'"$folder" "$record" || fail "not started in its folder: $(cat "$record")"

# Shift+Tab from Open to the tab strip, Right to "Recent Settings", Tab to Open and on into
# the view, Home to its first (only) item, Enter starts it again.
keys shift+Tab Right Tab Tab Home Return
wait_for 100 records_with beta-started 2 || fail "\"Recent Settings\" did not list the started entry"

keys Escape
wait_for 100 bash -c '! kill -0 '"$brindle_pid"' 2>/dev/null' || fail "Escape did not end Brindle"
brindle_pid=
name0=$(wine reg query 'HKCU\Software\Marbeck\Quillon\RecentApplication' /v Name0 </dev/null 2>/dev/null | tr -d '\r' || true)
echo "$name0" | grep -q BetaRecorder || fail "the recent list does not hold the started entry: $name0"
[ "$(grep -c . "$record")" -eq 2 ] || fail "unexpected starts: $(cat "$record")"
echo "Keyboard session passed."
