# Helpers for the FILE-menu scenarios (sourced by them, after lib.sh). The
# editor's dialogs are the framework's own file browser here (no platform
# dialog helper is installed on the test machine); they are answered by typing
# a full path into their "file:" box.

# choose_file_menu_item <n>: opens the FILE menu and clicks its n-th item (of
# six, evenly spaced down the menu's window).
choose_file_menu_item() {
    open_file_menu
    local m
    m="$(xdotool search --onlyvisible --name '^menu$' | head -n 1)"
    eval "$(xdotool getwindowgeometry --shell "$m")"
    xdotool mousemove --sync $((X + WIDTH / 3)) $((Y + HEIGHT * (2 * $1 - 1) / 12))
    sleep 0.2
    xdotool click 1
    wait_until 20 "the FILE menu to close" popup_menu_closed
}

# The framework shows a popup menu as a window of its own named "menu".
popup_menu_open() { [ -n "$(xdotool search --onlyvisible --name '^menu$' 2>/dev/null)" ]; }
popup_menu_closed() { ! popup_menu_open; }

# open_file_menu: clicks the FILE button until its menu shows. The menu is
# built from the editor's state when the click is handled, so callers first
# wait for a sign that the editor is back in Idle (the refresh's status
# request, a file the finished task wrote, read_back_after_write); opened
# during a task it shows its items greyed.
# A slow (sanitizer) build may take seconds to handle a click, and its menu
# then opens wherever the pointer is by that time, with its first item at the
# pointer: a second click on the same spot would choose that item. So a click
# is repeated only when no menu is open once the pointer is in place, and each
# repeat lands further left: a menu opened late by an earlier click lies right
# of it, and a click outside a menu closes it and goes on to the button.
open_file_menu() {
    local x
    for x in 55 35 15; do
        to_screen "$x" 27
        xdotool mousemove --sync "$screen_x" "$screen_y"
        popup_menu_open && return 0
        xdotool click 1
        local deadline=$((SECONDS + 10))
        until popup_menu_open; do
            [ "$SECONDS" -ge "$deadline" ] && break
            sleep 0.1
        done
    done
    popup_menu_open || fail "timed out waiting for: the FILE menu"
}

dialog_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
dialog_open() { [ -n "$(dialog_window "$1")" ]; }
dialog_closed() { ! dialog_open "$1"; }

# answer_file_dialog <title> <path>: types the path into the dialog's file box
# and confirms it. The first Return moves the browser to the file's folder,
# the second chooses the file.
answer_file_dialog() {
    wait_until 10 "the \"$1\" dialog" dialog_open "$1"
    local d
    d="$(dialog_window "$1")"
    eval "$(xdotool getwindowgeometry --shell "$d")"
    # The file box runs along the dialog's bottom, above the buttons.
    xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + HEIGHT - 63)) click 1
    xdotool key ctrl+a
    xdotool type --delay 5 "$2"
    xdotool key Return
    sleep 0.3
    xdotool key Return
    wait_until 10 "the \"$1\" dialog to close" dialog_closed "$1"
}

# The "Error" alert: its text is checked in the log; Return dismisses it.
dismiss_alert() {
    wait_until 10 "the error alert" dialog_open "Error"
    xdotool key Return
    wait_until 10 "the error alert to close" dialog_closed "Error"
}

# screenshot_screen <name>: the whole display, for what lies outside the
# editor's window (menus, dialogs), cut to the window and its surroundings.
screenshot_screen() {
    import -window root -crop "$((win_w + 40))x$((win_w * 890 / 624 + 40))+$((win_x - 20))+$((win_y - 20))" +repage \
        "$artifacts/$scenario-$1.png"
}

# Packets the pedal received: block reads (C5 type index) and the trailers
# that end block writes (C4 type index ...).
block_reads() { packets_matching "^C5 05 $1 $2 00 00 00"; }
block_writes() { packets_matching "^C4 07 $1 $2 00"; }
# writes_reached <type> <index> <count>: for wait_until.
writes_reached() { [ "$(block_writes "$1" "$2")" -ge "$3" ]; }
log_count_reached() { [ "$(log_count "$1")" -ge "$2" ]; }

# read_back_after_write <type> <index>: the pedal was asked for its globals
# after the last write of block <type> <index>. An upload or a restore reads
# the current preset back (globals first) once the editor is in Idle again.
read_back_after_write() {
    awk -v write="^C4 07 $1 $2 00" '
        $0 ~ write { written = NR }
        /^C5 05 01 00 00 00 00$/ && written && NR > written { found = 1 }
        END { exit !found }' "$pedal/received.log"
}
