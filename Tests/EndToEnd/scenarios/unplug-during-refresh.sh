# The pedal disappears in the middle of the first refresh (at its 6th packet).
# The editor drops the connection at the next poll, shows "Not Connected",
# and reads the pedal completely once it is plugged in again.
run_scenario() {
    export TQ_PEDAL_UNPLUG_AT=6
    plug_pedal sim-1
    start_editor
    wait_until 15 "the pedal to vanish mid-refresh" grep -q "unplugged sim-1" "$pedal/events.log"
    wait_until 10 "the service to be disconnected" log_has "DEBUG: disconnect"
    wait_until 5 "the device to be closed" grep -q "close sim-1" "$pedal/events.log"
    [ "$(refresh_requests)" -eq 0 ] || fail "the cut-off refresh was reported complete"
    screenshot unplugged
    editor_running || fail "the editor died"

    plug_pedal sim-2
    wait_for_refresh 0
    screenshot replugged

    kill -INT "$editor_pid"
    quit_and_check
}
