# Closing the window during FILE > Backup, over a bundle saved earlier: once
# with a slow pedal (30 ms to each answer) in the middle of a block read, once
# with a pedal that has stopped answering. Either way the window closes within
# about a second plus the block read in progress and the editor ends soon
# after, the pedal receives no further request after the quit, and the earlier
# bundle is left as it was.
run_scenario() {
    source "$here/file-lib.sh"
    export TQ_PEDAL_REPLY_DELAY_MS=30
    # The window's bound allows for the read in progress (preset 0's amp data,
    # about 2 s at this pace) or for the second the editor still waits for a
    # pedal that has stopped answering. The editor's end comes up to 2 s later:
    # the transport's last read (up to 1 s) as the connection goes, and a
    # sanitizer build's exit.
    quit_during_backup slow 4000
    quit_during_backup silent 2500
}

# quit_during_backup <slow|silent> <bound for the window to close, in ms>
quit_during_backup() {
    local kind="$1" bound="$2"
    pedal="$work/pedal-$kind"
    mkdir -p "$pedal"
    export TQ_PEDAL_DIR="$pedal"

    local bundle="$work/Earlier $kind.tqu"
    printf 'a bundle saved earlier (%s)\n' "$kind" > "$bundle"
    cp "$bundle" "$work/earlier-copy"

    plug_pedal sim-1
    start_editor
    wait_for_refresh 0
    sleep 0.5

    choose_file_menu_item 1
    answer_overwrite_question &
    answer_file_dialog "Save Backup Bundle" "$bundle"
    wait_until 20 "the backup to read preset 0's amp data" log_has "Backup ampData 0"
    if [ "$kind" = silent ]; then
        touch "$pedal/silent"
        wait_until 10 "the pedal to fall silent" grep -qx silent "$pedal/events.log"
    fi

    local before start closed ended
    before="$(wc -l < "$pedal/received.log")"
    start="$(now_ms)"
    click_at 599 25
    wait_until 15 "the window to close" window_closed
    closed=$(($(now_ms) - start))
    quit_and_check
    ended=$(($(now_ms) - start))
    cp "$editor_log" "$artifacts/$scenario.$kind.editor.log"
    echo "quit during backup, $kind pedal: window closed after ${closed} ms, editor ended after ${ended} ms"

    [ "$closed" -le "$bound" ] || fail "the window took ${closed} ms to close with the $kind pedal"
    [ "$ended" -le $((bound + 2000)) ] || fail "the editor took ${ended} ms to end with the $kind pedal"
    local after
    after="$(tail -n +$((before + 1)) "$pedal/received.log")"
    if [ "$kind" = silent ]; then
        [ -z "$after" ] || fail "the silent pedal received packets after the quit: $after"
    elif [ -n "$after" ] && grep -qv '^C0 ' <<< "$after"; then
        # Only the acknowledgements that finish the read in progress may come.
        fail "the pedal received a new request after the quit: $(grep -v '^C0 ' <<< "$after" | head -n 3)"
    fi
    cmp -s "$bundle" "$work/earlier-copy" || fail "the earlier bundle was changed"
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }
window_closed() { [ -z "$(xdotool search --onlyvisible --name '^Tessaquorbel Editor$' 2>/dev/null)" ]; }

# Saving over the earlier bundle asks first; the question comes after the
# save dialog's second Return and is answered with "Overwrite".
answer_overwrite_question() {
    local i
    for i in $(seq 100); do
        if dialog_open "File already exists"; then
            xdotool key Return
            return 0
        fi
        sleep 0.1
    done
}
