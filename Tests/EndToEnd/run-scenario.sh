#!/usr/bin/env bash
# Runs one end-to-end scenario against the real editor binary:
#   run-scenario.sh <scenario> <editor binary> <hidapi stand-in .so> <artifact folder>
# It starts itself again under xvfb-run, so every scenario has an X display of
# its own (the search for a free display starts at a random number, so runs on
# the same machine rarely race for one; -noreset, so an editor started as the
# previous one leaves is not refused by a server reset). Every wait is bounded, so a hanging
# editor fails the scenario well within a minute; the editor is killed on the
# way out whatever happens.
set -euo pipefail

if [ -z "${TQ_E2E_ON_OWN_DISPLAY:-}" ]; then
    export TQ_E2E_ON_OWN_DISPLAY=1
    exec xvfb-run -a -n $((200 + RANDOM % 700)) -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi

scenario="$1"
editor="$2"
standin="$3"
artifacts="$4"

here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d /tmp/tq-e2e.XXXXXX)"
pedal="$work/pedal"
mkdir -p "$pedal" "$work/home" "$work/config" "$artifacts"
export TQ_PEDAL_DIR="$pedal"
export HOME="$work/home"
export XDG_CONFIG_HOME="$work/config"
editor_log="$work/editor.log"
editor_pid=""

# shellcheck source=lib.sh
source "$here/lib.sh"
# shellcheck source=/dev/null
source "$here/scenarios/$scenario.sh"

finish() {
    local status=$?
    if [ -n "$editor_pid" ] && kill -0 "$editor_pid" 2>/dev/null; then
        kill -KILL "$editor_pid" 2>/dev/null || true
    fi
    cp "$editor_log" "$artifacts/$scenario.editor.log" 2>/dev/null || true
    cp "$pedal/received.log" "$artifacts/$scenario.received.log" 2>/dev/null || true
    if [ "$status" -ne 0 ]; then
        echo "--- scenario $scenario failed; editor log (last 40 lines):"
        tail -n 40 "$editor_log" 2>/dev/null || true
        echo "--- pedal events:"
        cat "$pedal/events.log" 2>/dev/null || true
    fi
    rm -rf "$work"
    exit "$status"
}
trap finish EXIT

run_scenario
echo "scenario $scenario passed"
