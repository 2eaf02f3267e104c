# Ctrl+C (SIGINT) in the terminal quits cleanly while the pedal is attached.
run_scenario() {
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    has_packet '^B5 00$' || fail "the pedal was never asked for its versions"
    screenshot before-quit
    kill -INT "$editor_pid"
    quit_and_check
    grep -q "close sim-1" "$pedal/events.log" || fail "the device was not closed on the way out"
}
