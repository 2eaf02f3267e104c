# Move preset switch A (bank) from the middle to the top while preset 4 is
# current: the editor asks the pedal for preset (2 - 0) x 3 + (2 - 1) = 7 with
# a program change (0xC9) and reads that preset.
run_scenario() {
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    click_at 162 205
    wait_until 10 "the preset request" log_has "QuorbelEditorService: requestChangePreset(7)"
    wait_until 10 "a program change for preset 7" has_packet '^C9 [0-9A-F]{2} 07'
    sleep 1
    screenshot preset-7

    kill -INT "$editor_pid"
    quit_and_check
}
