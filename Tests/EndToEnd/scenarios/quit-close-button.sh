# The window's own close button quits at once, with a pedal attached.
run_scenario() {
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    has_packet '^B5 00$' || fail "the pedal was never asked for its versions"
    screenshot before-quit
    click_at 599 25
    quit_and_check
    grep -q "close sim-1" "$pedal/events.log" || fail "the device was not closed on the way out"
    [ -f "$XDG_CONFIG_HOME/Tessaquorbel Editor/Tessaquorbel Editor.settings" ] || fail "the settings were not saved"
}
