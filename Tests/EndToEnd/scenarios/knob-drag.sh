# Drag the GAIN amp knob up: every drag step reaches the pedal as a live
# parameter packet (0xC7) for parameter 81.
run_scenario() {
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    local before
    before="$(packets_matching '^C7 ')"
    drag_up 89 148 90 6
    wait_until 10 "live parameter packets from the drag" drag_reached_pedal "$before"
    wait_until 5 "the service to log the drag" log_has "QuorbelEditorService: setParameterValue(81,"
    log_has "Failed to set parameter" && fail "a drag step was refused"
    screenshot after-drag

    kill -INT "$editor_pid"
    quit_and_check
}

drag_reached_pedal() { [ "$(packets_matching '^C7 ')" -ge $(($1 + 3)) ]; }
