# FILE > Update Firmware refuses the built-in placeholder image and sends
# nothing; FILE > Update Firmware from File sends a loader file's image
# (stored bit-reversed: 0x80 on disk is 0x01 in the image), then waits for the
# pedal to be power-cycled, and reads it again once it is back.
run_scenario() {
    source "$here/file-lib.sh"
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    choose_file_menu_item 5
    dismiss_alert
    log_has "placeholder" || fail "the refusal's reason in the log"
    log_has "Failed to load firmware" || fail "the refusal's message"
    has_packet '^B1 ' && fail "the placeholder was sent"

    local image="$work/DSP Firmware.ldr"
    head -c 3000 /dev/zero | tr '\0' '\200' > "$image"
    choose_file_menu_item 6
    answer_file_dialog "Select Firmware" "$image"
    wait_until 30 "the image to be sent" log_has "Reconnecting"
    has_packet '^B1 ' || fail "no firmware start"
    has_packet '^B2 [0-9A-F]{2}( 01){20}' || fail "the image's bytes"
    sleep 1
    screenshot waiting-for-power-cycle

    local requests
    requests="$(refresh_requests)"
    plug_pedal sim-2
    wait_until 20 "the update to complete" log_has "Update complete"
    wait_for_refresh "$requests"
    log_has "Timeout waiting for reconnect" && fail "the reconnect was missed"

    kill -INT "$editor_pid"
    quit_and_check
}
