# FILE > Restore: a bundle made by FILE > Backup goes back to the pedal. The
# simulated pedal's amps are not among the editor's built-in models, so each
# preset is restored after a warning, with the amp data its file carries.
run_scenario() {
    source "$here/file-lib.sh"
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    local bundle="$work/Saved.tqu"
    choose_file_menu_item 1
    answer_file_dialog "Save Backup Bundle" "$bundle"
    # Written once the editor is back in Idle, so the menu can open again.
    wait_until 30 "the bundle" test -s "$bundle"
    wait_until 10 "the backup to end" log_has "Backup cabName 8"
    sleep 0.5

    choose_file_menu_item 2
    answer_file_dialog "Restore Backup Bundle" "$bundle"
    wait_until 30 "the restore to end" log_has "Restoring cabName 8"

    [ "$(log_count "WARNING: Failed to get amp data for preset")" -eq 9 ] || fail "one warning per preset expected"
    log_has "Failed to get amp data for preset 8 in bundle" || fail "preset 8's warning"
    [ "$(block_writes 01 00)" -eq 1 ] || fail "the globals were not written once"
    local p
    for p in 0 1 2 3 4 5 6 7 8; do
        for block in 03 06 08 05 0A 09; do
            [ "$(block_writes "$block" "0$p")" -eq 1 ] || fail "block $block of preset $p not written once"
        done
    done
    # Preset 7's cabinet name went back as it was read: "4x12 Green 8".
    has_packet '^C3 [0-9A-F]{2} 34 00 00 00 78 00 00 00 31 00 00 00 32 00 00 00 20 00 00 00 47 00 00 00' \
        || fail "a cabinet name written back"
    # The only errors logged are the amp lookups' ("Amp data not found!" and
    # the identifier) behind the warnings.
    [ "$(log_count "Error at")" -eq 18 ] || fail "errors besides the amp lookups"
    [ "$(log_count "Failed to find amp data for id:10")" -eq 9 ] || fail "the amp lookups"

    kill -INT "$editor_pid"
    quit_and_check
}
