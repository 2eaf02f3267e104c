# Out and in again between two polls (the re-plugged pedal has a new path):
# the manager reports the new pedal before the old one's removal, and the
# editor still ends up connected to it and reads it again.
run_scenario() {
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0

    plug_pedal sim-2
    wait_for_refresh 1
    wait_until 5 "the old device to be closed" grep -q "close sim-1" "$pedal/events.log"
    [ "$(log_count "DEBUG: connect")" -eq 2 ] || fail "expected two connects"
    [ "$(log_count "DEBUG: disconnect")" -eq 1 ] || fail "expected one disconnect"
    sleep 0.5
    screenshot reconnected

    kill -INT "$editor_pid"
    quit_and_check
}
