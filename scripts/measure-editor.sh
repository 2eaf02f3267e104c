#!/usr/bin/env bash
# Measures the editor on a virtual display (Xvfb) and prints the figures:
#   - start-up to the first painted frame, median of RUNS starts (default 10),
#     next to a bare JUCE window built the same way;
#   - idle CPU with the simulated pedal attached (hidapi stand-in), over
#     IDLE_SECONDS (default 30), in percent of one core;
#   - resident memory once every page has been shown (skin decoded).
# Release build in build/measure. Not a test: it times things.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

runs="${RUNS:-10}"
idle_seconds="${IDLE_SECONDS:-30}"
dir=build/measure

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTQ_BUILD_BENCHMARKS=ON > /dev/null
cmake --build "$dir" --parallel 3 --target TessaquorbelEditor tq_hidapi_standin tq_first_frame_probe BareJuceWindow > /dev/null

editor="$dir/Source/TessaquorbelEditor_artefacts/Release/Tessaquorbel Editor"
bare="$dir/Benchmarks/EditorStartup/BareJuceWindow_artefacts/Release/Bare JUCE Window"
probe="$dir/Benchmarks/EditorStartup/tq_first_frame_probe"
standin="$dir/Tests/EndToEnd/libtq_hidapi_standin.so"

work="$(mktemp -d /tmp/tq-measure.XXXXXX)"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME"

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The framework lets one editor run per machine (a lock file in /var/tmp); a
# private /var/tmp keeps these runs apart from any other editor running here.
# Both programs are started the same way, so the comparison stays fair.
isolated=()
if unshare --mount --propagation private true 2>/dev/null; then
    isolated=(/usr/bin/unshare --mount --propagation private /bin/sh -c 'mount -t tmpfs tmpfs /var/tmp && exec "$@"' isolate)
fi

startup() {
    local name="$1" program="$2" i
    for ((i = 0; i < runs; i++)); do
        "$probe" "$name" "${isolated[@]}" "$(realpath "$program")"
        sleep 0.3
    done | median
}

echo "start-up to first painted frame (median of $runs):"
echo "  bare JUCE window: $(startup "Bare JUCE Window" "$bare") ms"
echo "  editor:           $(startup "Tessaquorbel Editor" "$editor") ms"

# Idle with the simulated pedal attached.
export TQ_PEDAL_DIR="$work/pedal"
mkdir -p "$TQ_PEDAL_DIR"
echo sim-1 > "$TQ_PEDAL_DIR/plugged"
LD_PRELOAD="$(realpath "$standin")" "${isolated[@]}" "$(realpath "$editor")" > "$work/editor.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
    grep -q '^CE 00$' "$TQ_PEDAL_DIR/received.log" 2>/dev/null && break
    sleep 0.1
done
grep -q '^CE 00$' "$TQ_PEDAL_DIR/received.log" || { echo "the editor did not read the pedal"; kill "$pid"; exit 1; }

# Show every page once, so all the skin's images in use are decoded.
window="$(xdotool search --onlyvisible --name '^Tessaquorbel Editor$' | head -n 1)"
eval "$(xdotool getwindowgeometry --shell "$window")"
click() { xdotool mousemove --sync $((X + $1 * WIDTH / 624)) $((Y + $2 * WIDTH / 624)) click 1; sleep 0.5; }
click 430 27   # ABOUT
click 285 27   # FOOTSWITCHES
click 130 27   # GLOBALS
click 276 517  # AMP block
sleep 3

ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz="$(getconf CLK_TCK)"
before="$(ticks)"
sleep "$idle_seconds"
after="$(ticks)"
rss_kb="$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")"
kill -INT "$pid"
wait "$pid" || true

awk -v t=$((after - before)) -v hz="$hz" -v s="$idle_seconds" \
    'BEGIN { printf "idle CPU with the pedal attached: %.2f %% of one core (over %d s)\n", 100 * t / hz / s, s }'
awk -v kb="$rss_kb" 'BEGIN { printf "resident memory, skin decoded: %.1f MB\n", kb / 1024 }'
