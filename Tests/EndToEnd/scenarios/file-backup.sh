# FILE > Backup: the editor reads the globals and all nine presets from the
# pedal (slowed down, so the progress shows) and writes them into the bundle
# file chosen in the save dialog.
run_scenario() {
    source "$here/file-lib.sh"
    export TQ_PEDAL_REPLY_DELAY_MS=2
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    open_file_menu
    xdotool mousemove --sync 1 1
    sleep 0.3
    screenshot_screen menu
    xdotool key Escape
    wait_until 20 "the FILE menu to close" popup_menu_closed

    local bundle="$work/My Pedal.tqu"
    choose_file_menu_item 1
    answer_file_dialog "Save Backup Bundle" "$bundle"
    wait_until 20 "the backup to reach preset 3" log_has "Backup preset 3"
    screenshot in-progress
    wait_until 40 "the bundle" test -s "$bundle"
    wait_until 10 "the backup to end" log_has "Backup cabName 8"

    # Everything was read: globals, then per preset its six blocks.
    [ "$(block_reads 01 00)" -ge 2 ] || fail "globals not read for the backup"
    local p
    for p in 0 1 2 3 4 5 6 7 8; do
        [ "$(block_reads 03 0$p)" -ge 1 ] || fail "preset $p not read"
        [ "$(block_reads 0A 0$p)" -ge 1 ] || fail "cabinet of preset $p not read"
    done

    # ...and written: one preset file per preset, the globals, nothing else.
    local entries
    entries="$(unzip -Z1 "$bundle" | sort | tr '\n' ' ')"
    [ "$entries" = "Bravik_TessaQuorbel_0.tqp Bravik_TessaQuorbel_1.tqp Bravik_TessaQuorbel_2.tqp Bravik_TessaQuorbel_3.tqp Bravik_TessaQuorbel_4.tqp Bravik_TessaQuorbel_5.tqp Bravik_TessaQuorbel_6.tqp Bravik_TessaQuorbel_7.tqp Bravik_TessaQuorbel_8.tqp Bravik_Tessarine_0.glo " ] \
        || fail "bundle entries: $entries"
    unzip -p "$bundle" Bravik_TessaQuorbel_7.tqp | head -n 1 | grep -qx "# File Type: Preset data, Index = 7" \
        || fail "preset 7's file"
    log_has "Error at" && fail "an error was logged"

    kill -INT "$editor_pid"
    quit_and_check
}
