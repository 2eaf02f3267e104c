# Plug the pedal in while the editor runs: it is found, read completely, and
# the "Not Connected" overlay goes away.
run_scenario() {
    start_editor
    screenshot not-connected
    plug_pedal sim-1
    wait_for_refresh 0
    wait_until 10 "the service to connect" log_has "DEBUG: connect"
    sleep 1
    screenshot connected
    kill -INT "$editor_pid"
    quit_and_check
}
