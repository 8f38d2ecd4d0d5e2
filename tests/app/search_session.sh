#!/usr/bin/env bash
# The search box in a user's hands, with real key events from outside the process, on a small
# catalogue of recording programs in three categories with the tree's selection stored. Each step
# is checked by what it starts (the recording program writes each start) or by what the screen
# shows:
#  - Ctrl+F, a word found only in one entry's description, Down and Enter start that entry;
#  - Escape clears the box and the views are back exactly as before the search (the page below
#    the tab strip is the same picture), and Brindle stays open;
#  - with the box on the page the Tab cycle is still view, tab strip, Open, Help, view;
#  - F3 reaches the box from the List, Ctrl+Tab keeps the filter, and Escape in the empty box
#    goes back to the view.
# Usage: search_session.sh BIN_DIR   (Wine brought up by scripts/wine-up.sh; BRINDLE_DISPLAY set)
set -euo pipefail
bin=$(cd "$1" && pwd)
source "$(dirname "$0")/../../scripts/wine-env.sh"
source "$(dirname "$0")/session_common.sh"

typed() {
    focus_window
    xdotool type --delay 120 "$1"
    sleep 0.5
}
# The page below the tab strip and the search box (the description, the buttons and the view) as
# a checksum of its pixels.
page_picture() {
    /usr/bin/import -display "$DISPLAY" -window root "$shot"
    /usr/bin/convert "$shot" -crop "${win_w}x$((win_h - 90))+$win_x+$((win_y + 90))" +repage rgb:- | md5sum
}

quiet wine "$bin/Brindle.exe" /halt || true
wait_for 50 bash -c '! xdotool search --onlyvisible --name "^Brindle\$" >/dev/null 2>&1' || fail "an earlier Brindle did not end"

program=$(winepath -w "$bin/record_args.exe")
icon=$(winepath -w "$bin/Brindle.exe")
help=$(winepath -w "$bin/sample_help.txt")
escape() { printf '%s' "$1" | sed 's/\\/\\\\/g'; }
reg=$work/catalog.reg
{
    printf 'REGEDIT4\n\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon]\n[-HKEY_CURRENT_USER\\Software\\Marbeck\\Quillon]\n'
    # Categories shown first, with Clock selected: its category is open, the others closed. The
    # List has Display selected.
    printf '\n[HKEY_CURRENT_USER\\Software\\Marbeck\\Quillon\\WindowState]\n"ActiveTabId"=dword:00000000\n'
    printf '"TreeSelectedApp"="Clock"\n"AllSelectedApp"="Display"\n'
    entry() {  # entry ID NAME CATEGORY DESCRIPTION [help]
        printf '\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Marbeck\\Quillon\\%s]\n' "$1"
        printf '"AppName"="%s"\n"AppPath"="%s"\n"AppOption"="%s-started"\n' "$2" "$(escape "$program")" "$1"
        printf '"Category"=dword:%08x\n"IconPath"="%s"\n"Description"="%s"\n' "$3" "$(escape "$icon")" "$4"
        [ "${5:-}" != help ] || printf '"HelpPath"="%s"\n' "$(escape "$help")"
    }
    entry Clock Clock 3 "Date, time and the clock on the taskbar." help
    entry Crossing "Street Signals" 5 "Timing of the zebra crossing lights."
    entry Mouse Mouse 3 "Pointer speed and buttons."
    entry Sound Sound 7 "Speakers, volume and sounds."
    entry Display Display 5 "Resolution and colours of the screen."
} > "$reg"
quiet wine regedit /S "$(winepath -w "$reg")"

export BRINDLE_RECORD_FILE
BRINDLE_RECORD_FILE=$(winepath -w "$record")
export BRINDLE_RECORD_STAY=1000
setsid wine "$bin/Brindle.exe" </dev/null >/dev/null 2>&1 &
brindle_pid=$!
window=
find_window() { window=$(xdotool search --onlyvisible --name '^Brindle$' 2>/dev/null | head -n 1); [ -n "$window" ]; }
wait_for 150 find_window || fail "Brindle's window did not appear"
sleep 1  # the focus goes to the tree once the dialog's loop runs
read -r win_x win_y win_w win_h < <(xwininfo -id "$window" |
    awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } /Width/ { w = $NF } /Height/ { h = $NF }
         END { print x, y, w, h }')

# 1. The page as it stands, seen with the focus in the box (as it is after Escape there).
keys ctrl+f
before=$(page_picture)

# 2. A word only one description holds; Down goes to the tree with that entry selected, Enter starts it.
typed zebra
during=$(page_picture)
[ "$during" != "$before" ] || fail "typing \"zebra\" changed nothing below the tab strip"
keys Down Return
expect_start 1 Crossing "Ctrl+F, \"zebra\", Down, Enter"

# 3. Ctrl+E selects the box's text; Escape clears it: the views are back as they were, Brindle stays.
keys ctrl+e Escape
after=$(page_picture)
[ "$after" = "$before" ] || fail "Escape did not bring the views back as they were before the search"
kill -0 "$brindle_pid" 2>/dev/null || fail "Escape in the box ended Brindle"

# 4. Escape in the empty box: back to the tree, where Clock is selected again (Return starts it).
keys Escape Return
expect_start 2 Clock "Return in the tree after Escape in the empty box"

# 5. The Tab cycle: from the tree Tab lands on the tab strip, whose Right key shows the List
# (Display selected there); Tab goes on to Open, whose Return starts Display; Tab passes the
# disabled Help and lands in the List, where Down and Return start Mouse. Were the box a Tab stop,
# the first Tab would land in it and Return would start the tree's Clock.
keys Tab Right Tab Return
expect_start 3 Display "Return on Open, reached by Tab from the tree, the tab strip's Right and Tab"
keys Tab Down Return
expect_start 4 Mouse "Down and Return in the List, one Tab on from Open"

# 6. In the List: F3 reaches the box; "sou" leaves Sound alone; Ctrl+Tab on to Recent Settings
# keeps the filter (none of the recent starts matches: Return in the box starts nothing);
# Ctrl+Shift+Tab back, Down, Return starts Sound; F3, Escape twice and the full List has the
# focus again: End is Street Signals.
keys F3
typed sou
keys ctrl+Tab Return ctrl+shift+Tab Down Return
expect_start 5 Sound "Down and Return after Ctrl+Tab there and back with \"sou\" in the box"
keys F3 Escape Escape End Return
expect_start 6 Crossing "End and Return in the full List after Escape twice"
kill -0 "$brindle_pid" 2>/dev/null || fail "Brindle ended"
[ "$(starts)" -eq 6 ] || fail "unexpected starts: $(tr '\n' '|' < "$record")"
echo "Search session passed."
