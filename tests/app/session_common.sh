# What the session tests share: sourced after `bin` is set and Wine's environment is sourced. It
# makes the work folder (`work`, with the recorder's file `record` and the screen grab `shot`),
# ends Brindle and removes the test catalogue on exit, and gives the waits and the key and start
# helpers. A failure keeps the last screen grab as $TMPDIR/<script>_failed.png.
session_name=$(basename "$0" .sh)

fail() {
    echo "FAIL: $*" >&2
    [ ! -f "${shot:-}" ] || cp "$shot" "${TMPDIR:-/tmp}/${session_name}_failed.png" 2>/dev/null || true
    exit 1
}
quiet() { "$@" </dev/null >/dev/null 2>&1; }

work=$(mktemp -d)
record=$work/launches.txt
shot=$work/shot.png
brindle_pid=
cleanup() {
    xdotool keyup ctrl 2>/dev/null || true
    if [ -n "$brindle_pid" ] && kill -0 "$brindle_pid" 2>/dev/null; then
        quiet wine "$bin/Brindle.exe" /halt || true
        sleep 1
        kill "$brindle_pid" 2>/dev/null || true
    fi
    quiet wine reg delete 'HKLM\SOFTWARE\Marbeck\Quillon' /f || true
    quiet wine reg delete 'HKCU\Software\Marbeck\Quillon' /f || true
    rm -rf "$work"
}
trap cleanup EXIT

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
    local tenths=$1; shift
    for _ in $(seq "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
starts() { [ -f "$record" ] && grep -c . "$record" || echo 0; }
# The n-th start (1 = first) was the entry with id $2.
start_was() { [ "$(starts)" -ge "$1" ] && sed -n "${1}p" "$record" | grep -q -- " $2-started"; }
expect_start() {  # expect_start N ID WHAT
    wait_for 100 start_was "$1" "$2" || fail "$3: expected $2 to start, record: $(tr '\n' '|' < "$record" 2>/dev/null)"
}
focus_window() { wait_for 50 xdotool windowfocus --sync "$window" 2>/dev/null || fail "Brindle's window took no focus"; }
# Sends keys to Brindle's window once it has the keyboard focus.
keys() {
    focus_window
    xdotool key --delay 150 "$@"
    sleep 0.5  # let the dialog take them before the next look
}
