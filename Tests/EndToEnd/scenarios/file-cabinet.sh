# The CAB panel's cabinet-name readout imports a cabinet: from a WAV file made
# by sox (named after the file) and from a cabinet file (named by it).
# Shows the CAB panel and clicks its cabinet-name readout. A slow build may
# still be hiding the overlay or building the panel when the clicks come, so
# they are repeated until the dialog opens (while it is open, the modal dialog
# takes every click).
open_cabinet_dialog() {
    local attempt i
    for attempt in 1 2 3 4 5; do
        click_at 557 517      # the CAB block switch
        sleep 0.5
        click_at 309 642      # its cabinet-name readout
        for i in $(seq 30); do
            dialog_open "Import Cabinet" && return 0
            sleep 0.1
        done
    done
    fail "the cabinet-name readout opened no dialog"
}

run_scenario() {
    source "$here/file-lib.sh"
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    local wav="$work/Room.wav"
    sox -n -r 44100 -b 16 -c 1 "$wav" synth 0.01 sine 1000 fade 0 0.01 0.009

    open_cabinet_dialog
    answer_file_dialog "Import Cabinet" "$wav"
    wait_until 20 "the cabinet upload" log_has "Sending cab"
    wait_until 10 "the cabinet name" writes_reached 09 04 1
    [ "$(block_writes 0A 04)" -eq 1 ] || fail "the impulse was not written"
    has_packet '^C3 [0-9A-F]{2} 52 00 00 00 6F 00 00 00 6F 00 00 00 6D 00 00 00 00 00 00 00' || fail "the name Room"

    # A cabinet file: a unit impulse in both channels and the name "Studio".
    local cab="$work/Studio.CAB"
    {
        printf '# File Type: User Cabinet data, Index = 0\n\n\n# Data Segment 0 Start - Do Not Delete\n'
        printf '0x3f800000\n'; printf '0x00000000\n%.0s' $(seq 1023)
        printf '0x3f800000\n'; printf '0x00000000\n%.0s' $(seq 1023)
        printf '# Data Segment 0 End - Do Not Delete\n\n# Data Segment 1 Start - Do Not Delete\n'
        printf '0x%08x\n' 0x53 0x74 0x75 0x64 0x69 0x6f 0 0 0 0 0 0 0 0 0 0
        printf '# Data Segment 1 End - Do Not Delete\n\n'
    } > "$cab"
    open_cabinet_dialog
    answer_file_dialog "Import Cabinet" "$cab"
    wait_until 10 "the second cabinet name" writes_reached 09 04 2
    has_packet '^C3 [0-9A-F]{2} 53 00 00 00 74 00 00 00 75 00 00 00 64 00 00 00 69 00 00 00 6F 00 00 00' || fail "the name Studio"
    sleep 0.5
    screenshot studio

    kill -INT "$editor_pid"
    quit_and_check
}
