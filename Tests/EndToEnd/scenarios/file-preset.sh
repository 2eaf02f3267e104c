# FILE > Export Preset and FILE > Import Preset: the current preset (4) goes
# to a file; imported back it is refused, because its amp (104) is not among
# the built-in models; with its amp identifier changed to 10 the import
# uploads it with the built-in "Plexi". Then an older unit's ".pre" file:
# its eight knob values go to the pedal at once, then the converted preset
# with the built-in "Brit 800" and that amp's own cabinet.
run_scenario() {
    source "$here/file-lib.sh"
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    local preset="$work/Crunch.tqp"
    choose_file_menu_item 3
    answer_file_dialog "Export Preset" "$preset"
    wait_until 20 "the exported preset" test -s "$preset"
    head -n 1 "$preset" | grep -qx "# File Type: Preset data, Index = 0" || fail "the preset file's header"
    [ "$(grep -c '^0x' "$preset")" -eq $((1024 + 2048 + 16 + 17)) ] || fail "the preset file's words"
    sed -n '/# Data Segment 3 Start/{n;p}' "$preset" | grep -qx "0x00000068" || fail "amp 104 in the file"

    choose_file_menu_item 4
    answer_file_dialog "Import Preset" "$preset"
    dismiss_alert
    log_has "Failed to find amp data for id:104" || fail "the refused import's log"
    log_has "Failed to get amp data for preset" || fail "the refused import's message"
    [ "$(block_writes 03 04)" -eq 0 ] || fail "a refused import wrote the preset"

    sed -i '/# Data Segment 3 Start/{n;s/.*/0x0000000a/}' "$preset"
    choose_file_menu_item 4
    answer_file_dialog "Import Preset" "$preset"
    wait_until 20 "the upload" log_has "Sending cabName 4"
    local block
    for block in 03 06 08 05 0A 09; do
        wait_until 10 "block $block of preset 4" writes_reached "$block" 04 1
    done
    # Amp 10 with the name "Plexi".
    has_packet '0A 00 00 00 50 00 00 00 6C 00 00 00 65 00 00 00 78 00 00 00 69 00 00 00' || fail "Plexi's name block"
    # The upload ends by reading the preset back, in Idle again.
    wait_until 10 "the preset read back after the upload" read_back_after_write 09 04

    # An older preset: amp 12 ("Brit 800"), the amp's own cabinet (key 11 =
    # -1), GAIN (key 2) 0.5 and BASS (key 3) 0.25.
    local older="$work/Old.PRE"
    {
        printf '# File Type: Preset data, Index = 3\n\n\n# Data Segment 0 Start - Do Not Delete\n'
        printf '0x%08x\n' 0 0x41400000 2 0x3f000000 3 0x3e800000 11 0xbf800000 0xffffffff 0
        printf '# Data Segment 0 End - Do Not Delete\n\n# Data Segment 1 Start - Do Not Delete\n'
        printf '0x%08x\n' 0x4f 0x6c 0x64 0 0 0 0 0 0 0 0 0 0 0 0 0 0
        printf '# Data Segment 1 End - Do Not Delete\n\n'
    } > "$older"
    local liveBefore
    liveBefore="$(packets_matching '^C7 ')"
    choose_file_menu_item 4
    answer_file_dialog "Import Preset" "$older"
    wait_until 20 "the older preset's upload" log_count_reached "Sending cabName 4" 2
    [ "$(packets_matching '^C7 ')" -eq $((liveBefore + 8)) ] || fail "eight knob values"
    has_packet '^C7 08 51 00 00 00 00 00 80 3E$' || fail "BASS (key 3) to knob 81"
    has_packet '^C7 08 50 00 00 00 00 00 00 3F$' || fail "GAIN (key 2) to knob 80"
    # "Brit 800", amp 12, and its name again as the cabinet's.
    has_packet '0C 00 00 00 42 00 00 00 72 00 00 00 69 00 00 00 74 00 00 00 20 00 00 00 38 00 00 00' || fail "Brit 800's name block"
    [ "$(block_writes 09 04)" -eq 2 ] || fail "the cabinet name of the older preset"

    kill -INT "$editor_pid"
    quit_and_check
}
