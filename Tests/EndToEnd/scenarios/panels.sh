# Open every effect panel and the global settings, work one control on each
# and check the live parameter packet (0xC7, parameter number little-endian,
# then the value as a 32-bit float) that the pedal received for it. The long
# panels are scrolled to their end. One screenshot per panel (and one per
# scrolled end) goes to the artifacts; docs/panels/ keeps a copy.
#
# Positions are design coordinates: the panel viewport starts at (36, 557).
run_scenario() {
    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    # Zoomed to the display, so the screenshots show the panels large.
    click_at 511 25
    sleep 1
    find_window

    # Noise gate: a double click on THRESH restores its default, -70 dB.
    show_panel 66 517
    double_click_at 103 676
    expect_packet "THRESH default" '^C7 08 41 00 00 00 00 00 8C C2$'
    screenshot 1-gate

    # Compressor: AUTOGAIN ON sends 1.
    show_panel 136 517
    click_at 522 664
    expect_packet "AUTOGAIN on" '^C7 08 86 00 00 00 00 00 80 3F$'
    wait_for_redraw
    screenshot 2-compressor
    scroll_to_end
    screenshot 2-compressor-end

    # Boost: the type's right arrow steps to the next type.
    show_panel 206 517
    click_at 427 818
    expect_packet "boost type step" '^C7 08 01 00 00 00 '
    screenshot 3-boost

    # Amp: dragging LEVEL up sends on every step.
    show_panel 276 517
    drag_up 244 747 40 4
    expect_packet "amp LEVEL drag" '^C7 08 71 00 00 00 '
    screenshot 4-amp

    # EQ: the pre-tone filter's ON, then down to the third band.
    show_panel 346 517
    click_at 137 640
    expect_packet "pre-tone ON" '^C7 08 A0 00 00 00 00 00 80 3F$'
    wait_for_redraw
    screenshot 5-eq
    scroll_by 12
    screenshot 5-eq-middle
    scroll_to_end
    screenshot 5-eq-end

    # Echo: the type's right arrow, then the switches at the end.
    show_panel 416 517
    click_at 427 642
    expect_packet "echo type step" '^C7 08 C1 00 00 00 '
    screenshot 6-echo
    scroll_to_end
    screenshot 6-echo-end

    # Reverb: 25 typed into DECAY's value field is 25 %, sent as 0.25.
    show_panel 486 517
    double_click_at 240 743
    sleep 0.3
    xdotool type --delay 50 "25"
    xdotool key Return
    expect_packet "typed DECAY" '^C7 08 92 00 00 00 00 00 80 3E$'
    screenshot 7-reverb
    scroll_to_end
    screenshot 7-reverb-end

    # Cabinet: a double click on ROLLOFF restores 20000 Hz.
    show_panel 557 517
    double_click_at 103 737
    expect_packet "ROLLOFF default" '^C7 08 61 00 00 00 00 40 9C 46$'
    screenshot 8-cabinet

    # Global settings: the output LEVEL list, third entry ("XLR", 2).
    show_panel 130 27
    click_at 309 818
    sleep 0.5
    screenshot_screen 9-globals-list
    xdotool key Down Down Down Return
    expect_packet "output choice from the list" '^C7 08 02 01 00 00 00 00 00 40$'
    wait_for_redraw
    screenshot 9-globals

    log_has "Failed to set parameter" && fail "a control's value was refused"

    kill -INT "$editor_pid"
    quit_and_check
}

show_panel() {
    click_at "$1" "$2"
    sleep 0.5
}

double_click_at() {
    to_screen "$1" "$2"
    xdotool mousemove --sync "$screen_x" "$screen_y" click --repeat 2 --delay 80 1
}

# Wheel steps over the panel viewport.
scroll_by() {
    to_screen 300 700
    xdotool mousemove --sync "$screen_x" "$screen_y"
    # In runs of at most ten: one long xdotool repeat was seen to stall for
    # seconds, while the editor takes each run of ten in a fraction of one.
    local left="$1"
    while [ "$left" -gt 0 ]; do
        local run=$((left > 10 ? 10 : left))
        xdotool click --repeat "$run" --delay 15 5
        left=$((left - run))
    done
    sleep 0.3
}

# The EQ panel, the longest, scrolls 888 pixels; 40 steps reach its end.
scroll_to_end() { scroll_by 40; }

# The whole screen under the window, so an open popup list shows too.
screenshot_screen() {
    import -window root -crop "${WIDTH}x${HEIGHT}+${win_x}+${win_y}" +repage "$artifacts/$scenario-$1.png"
}

wait_for_redraw() { sleep 0.4; }

# expect_packet <what> <regex>: waits for a packet matching regex that was not
# there before this panel's action.
expect_packet() {
    wait_until 10 "the pedal to receive: $1" has_packet "$2"
}
