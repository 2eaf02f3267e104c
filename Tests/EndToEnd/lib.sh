# Helpers for the end-to-end scenarios (sourced by run-scenario.sh).
# Positions are given in the editor's design coordinates (624 x 890); the
# window shows them scaled, so every pointer action converts them.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# wait_until <seconds> <description> <command...>: polls every 0.1 s.
wait_until() {
    local seconds="$1" what="$2"
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            fail "timed out after ${seconds}s waiting for: $what"
        fi
        sleep 0.1
    done
}

log_has() { grep -qF -- "$1" "$editor_log" 2>/dev/null; }
count_lines() {
    local n
    n="$(grep -c "$@" 2>/dev/null)" || true
    echo "${n:-0}"
}
log_count() { count_lines -F -- "$1" "$editor_log"; }
packets_matching() { count_lines -E -- "$1" "$pedal/received.log"; }
has_packet() { [ "$(packets_matching "$1")" -gt 0 ]; }
editor_running() { kill -0 "$editor_pid" 2>/dev/null; }
editor_gone() { ! kill -0 "$editor_pid" 2>/dev/null; }

plug_pedal() { printf '%s\n' "$1" > "$pedal/plugged"; }
unplug_pedal() { rm -f "$pedal/plugged"; }

start_editor() {
    local preload="$standin"
    # A sanitizer build wants its runtime first among the preloaded libraries.
    local asan
    asan="$(ldd "$editor" | awk '/libasan/ { print $3 }')"
    if [ -n "$asan" ]; then
        preload="$asan:$standin"
    fi
    # The framework lets one editor run per machine (a lock file in /var/tmp);
    # a private /var/tmp keeps scenarios apart from any other editor running
    # here. Without the rights for that, the editor runs as it is.
    local isolate=()
    if unshare --mount --propagation private true 2>/dev/null; then
        isolate=(unshare --mount --propagation private sh -c 'mount -t tmpfs tmpfs /var/tmp && exec "$@"' isolate)
    fi
    LD_PRELOAD="$preload" "${isolate[@]}" "$editor" > "$editor_log" 2>&1 &
    editor_pid=$!
    wait_until 20 "the editor window" find_window
}

find_window() {
    window="$(xdotool search --onlyvisible --name '^Tessaquorbel Editor$' 2>/dev/null | head -n 1)"
    [ -n "$window" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$window")"
    win_x="$X"; win_y="$Y"; win_w="$WIDTH"
}

# to_screen <x> <y>: design coordinates to screen coordinates.
to_screen() {
    screen_x=$((win_x + $1 * win_w / 624))
    screen_y=$((win_y + $2 * win_w / 624))
}

click_at() {
    to_screen "$1" "$2"
    xdotool mousemove --sync "$screen_x" "$screen_y" click 1
}

# drag_up <x> <y> <design pixels> <steps>
drag_up() {
    to_screen "$1" "$2"
    local x="$screen_x" y="$screen_y" total=$(($3 * win_w / 624)) steps="$4" i
    xdotool mousemove --sync "$x" "$y" mousedown 1
    for ((i = 1; i <= steps; i++)); do
        xdotool mousemove --sync "$x" $((y - total * i / steps))
        sleep 0.02
    done
    xdotool mouseup 1
}

screenshot() {
    import -window "$window" "$artifacts/$scenario-$1.png"
}

# The pedal has been read completely: the refresh ends by asking for status
# reports (an empty 0xCE packet) once the preset, names and globals are in.
refresh_requests() { packets_matching '^CE 00$'; }

wait_for_refresh() {
    local before="$1"
    wait_until 20 "a full refresh (status request after the reads)" refresh_done_after "$before"
}
refresh_done_after() { [ "$(refresh_requests)" -gt "$1" ]; }

quit_and_check() {
    wait_until 15 "the editor to quit" editor_gone
    wait "$editor_pid" || fail "the editor exited with status $?"
    editor_pid=""
}
