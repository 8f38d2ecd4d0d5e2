#!/usr/bin/env bash
# The List and Recent Settings views in a user's hands, with real mouse and key events from
# outside the process, on a catalogue of 30 recording programs with a long name and two names
# that differ only in case. Each step is checked by what it starts (the recording program writes
# each start) or by what the screen shows:
#  - a start request's entry far down the List is selected and scrolled into view;
#  - typing the start of a name selects it, and Enter starts it;
#  - clicks never scroll the List sideways;
#  - the context menu of a row selected among others starts that row's program;
#  - unselecting one of two rows leaves the other one for the Open button;
#  - Ctrl+Shift+Tab from the Open button or from a view leaves the keyboard working;
#  - Recent Settings rebuilt after starts is in label order on screen (Home and End);
#  - Escape in the description pane ends Brindle as Escape elsewhere does.
# Usage: views_session.sh BIN_DIR   (Wine brought up by scripts/wine-up.sh; BRINDLE_DISPLAY set)
set -euo pipefail
bin=$(cd "$1" && pwd)
source "$(dirname "$0")/../../scripts/wine-env.sh"
source "$(dirname "$0")/session_common.sh"

# Clicks (button $1, 1 left 3 right) at client point $2,$3 of the dialog, with keys held ($4...).
click_at() {
    local button=$1 x=$((client_x + $2)) y=$((client_y + $3)); shift 3
    focus_window
    xdotool mousemove "$x" "$y"
    sleep 0.2
    for held in "$@"; do xdotool keydown "$held"; done
    xdotool click "$button"
    for held in "$@"; do xdotool keyup "$held"; done
    sleep 0.5  # past the double-click time of the next click at the same place
}
look() { /usr/bin/import -display "$DISPLAY" -window root "$shot"; }
# Rows (screen y, top to bottom) of column x=$1 from y=$2 for $3 pixels whose colour is $4.
rows_of_colour() {
    /usr/bin/convert "$shot" -crop "1x$3+$1+$2" +repage -depth 8 txt:- |
        awk -v top="$2" -v colour="$4" 'NR > 1 && $3 == colour { split($1, at, /[,:]/); print top + at[2] }'
}
# The middle (client y) of the selected row of the focused List, or nothing when none is seen.
selected_row() {
    focus_window
    look
    local ys
    ys=$(rows_of_colour "$((client_x + name_x))" "$((client_y + list_top))" "$list_height" "$highlight")
    [ -n "$ys" ] || return 0
    echo $(( ($(echo "$ys" | head -n 1) + $(echo "$ys" | tail -n 1)) / 2 - client_y ))
}
# The selected row once it compares with $2 by $1 (-lt, -gt), looking again for a few seconds: a
# loaded machine may paint the keys' result late. The last row seen when it never does.
selected_row_until() {
    local op=$1 than=$2 y=""
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        y=$(selected_row)
        if [ -n "$y" ] && [ "$y" "$op" "$than" ]; then break; fi
        sleep 0.3
    done
    echo "$y"
}

# No instance of an earlier run may take the start over.
quiet wine "$bin/Brindle.exe" /halt || true
wait_for 50 bash -c '! xdotool search --onlyvisible --name "^Brindle\$" >/dev/null 2>&1' || fail "an earlier Brindle did not end"

program=$(winepath -w "$bin/record_args.exe")
icon=$(winepath -w "$bin/Brindle.exe")  # the recorder has no icon of its own
help=$(winepath -w "$bin/sample_help.txt")
escape() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
long_name="Display Colour Calibration, Gamma Correction, Night Light Schedules and Colour Profiles for Every Monitor Attached to This Computer"
reg=$work/catalog.reg
{
    printf 'REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon]\n[-HKEY_CURRENT_USER\\Software\\Marbeck\\Quillon]\n'
    # A tall window, so that rows far apart are on screen together.
    printf '\n[HKEY_CURRENT_USER\\Software\\Marbeck\\Quillon\\WindowState]\n'
    printf '"left"=dword:000000c0\n"top"=dword:00000040\n"right"=dword:00000340\n"bottom"=dword:000002a8\n'
    entry() {  # entry ID NAME [help]
        printf '\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\%s]\n' "$1"
        printf '"AppName"="%s"\n"AppPath"="%s"\n"AppOption"="%s-started"\n' "$2" "$(escape "$program")" "$1"
        printf '"Category"=dword:00000003\n"IconPath"="%s"\n"Description"="Settings of %s."\n' "$(escape "$icon")" "$1"
        [ "${3:-}" != help ] || printf '"HelpPath"="%s"\n' "$(escape "$help")"
    }
    entry Clock Clock help
    entry Firewall Firewall
    entry PointerUpper "Pointer Speed"
    entry PointerLower "pointer speed"
    entry LongName "$long_name"
    for name in Accounts Audio Backup Bluetooth Date Desktop Energy Fonts Gamepad Hardware Indexing Internet \
                Keyboard Language Mail Network Power Printers Region Scanner Sound Speech Storage Taskbar Users; do
        entry "$name" "$name"
    done
} > "$reg"
quiet wine regedit /S "$(winepath -w "$reg")"

export BRINDLE_RECORD_FILE
BRINDLE_RECORD_FILE=$(winepath -w "$record")
export BRINDLE_RECORD_STAY=1000
# A start request without a tab: the List, with Users (its last row) selected.
setsid wine "$bin/Brindle.exe" /Users </dev/null >/dev/null 2>&1 &
brindle_pid=$!
window=
find_window() { window=$(xdotool search --onlyvisible --name '^Brindle$' 2>/dev/null | head -n 1); [ -n "$window" ]; }
wait_for 150 find_window || fail "Brindle's window did not appear"
sleep 1  # the focus goes to the List once the dialog's loop runs

# Where the dialog's client area is on screen (xwininfo: xdotool misreads windows inside Wine's
# desktop), and where the List is in it: its top edge is the first white row under the page's
# band, 115 pixels below the client area's top; its left edge, 2 pixels in from the client
# area's, the first white after the band's colour.
read -r win_x win_y win_w win_h < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } /Width/ { w = $NF } /Height/ { h = $NF }
         END { print x, y, w, h }')
look
list_screen_top=$(rows_of_colour "$((win_x + win_w / 2))" "$win_y" "$win_h" '#FFFFFF' |
    awk 'NR > 1 && $1 != prev + 1 && !found { print; found = 1 } { prev = $1 }')
[ -n "$list_screen_top" ] || fail "the List is not where the page puts it"
list_top=115
client_y=$((list_screen_top - list_top))
list_screen_left=$(/usr/bin/convert "$shot" -crop "$((win_w / 2))x1+$win_x+$((list_screen_top + 5))" +repage -depth 8 txt:- |
    awk -v left="$win_x" 'NR > 1 && $3 == "#FFFFFF" && band && !found { split($1, at, /[,:]/); print left + at[1]; found = 1 }
                          NR > 1 { band = $3 == "#D7DDE0" }')
client_x=$((list_screen_left - 2))
client_width=$((win_w - 2 * (client_x - win_x)))  # the frame is as wide on both sides
list_height=$((win_y + win_h - list_screen_top - 10))
name_x=42            # inside every name, right of the 32-pixel icon
# The selected row of the focused List has the system's highlight colour.
highlight=$(wine reg query 'HKCU\Control Panel\Colors' /v Hilight </dev/null 2>/dev/null | tr -d '\r' |
    awk '$1 == "Hilight" { printf "#%02X%02X%02X", $3, $4, $5 }')
[ -n "$highlight" ] || highlight='#3399FF'
open_x=$((client_width - 165)); open_y=$((15 + 79))  # the middle of the Open button
pane_x=40; pane_y=$((15 + 63))              # inside the description pane

# 1. The requested entry, the List's last row, is selected and in view.
users_y=$(selected_row)
[ -n "$users_y" ] || fail "the requested entry is not selected in view"

# 2. Typing the start of a name selects it (the labels begin with a line break, which the control's
# own search cannot match); Enter starts it. "po" finds "pointer speed" before "Pointer Speed".
# The rows used later are found from the List's top (Home), where they are all in view.
keys Home c l
clock_y=$(selected_row)
[ -n "$clock_y" ] && [ "$clock_y" -lt "$users_y" ] || fail "typing \"cl\" did not select Clock"
keys Return
expect_start 1 Clock "Enter after typing \"cl\""
sleep 1.2  # a pause ends the typed word
keys p o Return
expect_start 2 PointerLower "Enter after typing \"po\""
sleep 1.2
keys Home f
firewall_y=$(selected_row_until -gt "$clock_y")
[ -n "$firewall_y" ] && [ "$firewall_y" -gt "$clock_y" ] || fail "typing \"f\" did not select Firewall"
sleep 1.2
keys d i
long_y=$(selected_row_until -lt "$firewall_y")
[ -n "$long_y" ] && [ "$long_y" -lt "$firewall_y" ] || fail "typing \"di\" did not select the long name"

# 3. Clicks never scroll the List sideways: the icon column stays where it was.
icon_column() {
    look
    /usr/bin/convert "$shot" -crop "30x$list_height+$((list_screen_left + 2))+$list_screen_top" +repage rgb:- | md5sum
}
before=$(icon_column)
for y in "$long_y" "$clock_y" "$long_y" "$firewall_y"; do click_at 1 "$name_x" "$y"; done
after=$(icon_column)
[ "$before" = "$after" ] || fail "clicks scrolled the List sideways: its icon column changed"
[ "$(selected_row)" = "$firewall_y" ] || fail "the last click did not select Firewall"

# 4. The context menu of a row selected among others acts on that row: click Clock, Ctrl+click
# Firewall, right-click Clock, choose Open by its key.
click_at 1 "$name_x" "$clock_y"
click_at 1 "$name_x" "$firewall_y" ctrl
click_at 3 "$name_x" "$clock_y"
xdotool key o  # the menu's own key for Open (the menu has the keyboard now)
expect_start 3 Clock "Open from Clock's menu with Firewall selected too"

# 5. Unselecting one of two rows leaves the other one to the Open button: click Desktop (the row
# above the long name), Ctrl+click Firewall twice, click Open.
desktop_y=$((long_y - (firewall_y - long_y) / 2))
click_at 1 "$name_x" "$desktop_y"
click_at 1 "$name_x" "$firewall_y" ctrl
click_at 1 "$name_x" "$firewall_y" ctrl
click_at 1 "$open_x" "$open_y"
expect_start 4 Desktop "Open after unselecting Firewall with Desktop still selected"

# 6. With the focus on the enabled Open button, Ctrl+Shift+Tab goes round to Categories, where
# nothing is selected and Open is disabled: the focus is in the tree, whose keys then work.
keys shift+Tab Tab  # the tab strip, then Open
keys ctrl+shift+Tab Home Right End Return
expect_start 5 Users "Return in Categories reached with Ctrl+Shift+Tab from Open"

# 7. From the tree, Ctrl+Shift+Tab on to Recent Settings, rebuilt after the starts: the keys
# reach it, and it stands in label order on screen, not in the order of the starts (Users,
# Desktop, Clock, pointer speed): Home is Clock, End is Users.
keys ctrl+shift+Tab End Return
expect_start 6 Users "End in Recent Settings reached with Ctrl+Shift+Tab from the tree"
keys Home Return
expect_start 7 Clock "Home in Recent Settings"

# 8. Escape in the description pane (it takes the focus by a click) ends Brindle.
click_at 1 "$pane_x" "$pane_y"
keys Escape
wait_for 100 bash -c '! kill -0 '"$brindle_pid"' 2>/dev/null' || fail "Escape in the description pane did not end Brindle"
brindle_pid=
[ "$(starts)" -eq 7 ] || fail "unexpected starts: $(tr '\n' '|' < "$record")"
echo "Views session passed."
