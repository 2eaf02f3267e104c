#!/usr/bin/env bash
# Measures the editor on a virtual display (Xvfb) and prints the figures:
#   - start-up to the first painted frame against a bare JUCE window built the
#     same way: PAIRS runs of each (default 12), alternating, and the median
#     and minimum of the ratio editor / bare window within each pair;
#   - resident memory once every page has been shown (the skin in use
#     decoded);
#   - idle CPU of the editor with the simulated pedal attached (hidapi
#     stand-in) and of the bare window over the same IDLE_SECONDS (default
#     30), in percent of one core.
#
#   scripts/measure-editor.sh [BASELINE_TREE]
#
# BASELINE_TREE, another checkout of the editor (a git worktree of an earlier
# commit, say), is built too and measured in the same run, interleaved with
# this tree's editor, so a change is judged under one machine load.
# Release builds in build/measure of each tree. Not a test: it times things.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
    # -noreset: each run starts as the previous one leaves, which a
    # resetting server may refuse.
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "$0" "$@"
fi

pairs="${PAIRS:-12}"
idle_seconds="${IDLE_SECONDS:-30}"
[ "$pairs" -ge 10 ] || { echo "PAIRS must be at least 10"; exit 2; }

build() {
    local tree="$1"
    shift
    cmake -S "$tree" -B "$tree/build/measure" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTQ_BUILD_BENCHMARKS=ON > /dev/null
    cmake --build "$tree/build/measure" --parallel 3 --target "$@" > /dev/null
}
# The editor's artefacts are with its target: Source/Shell/, or Source/ itself
# in a baseline from before the source tree had a folder per library.
editor_in() {
    local dir="$1/build/measure/Source/Shell"
    [ -d "$dir/TessaquorbelEditor_artefacts" ] || dir="$1/build/measure/Source"
    realpath "$dir/TessaquorbelEditor_artefacts/Release/Tessaquorbel Editor"
}

build . TessaquorbelEditor tq_hidapi_standin tq_first_frame_probe BareJuceWindow
dir=build/measure
bare="$(realpath "$dir/Benchmarks/EditorStartup/BareJuceWindow_artefacts/Release/Bare JUCE Window")"
probe="$(realpath "$dir/Benchmarks/EditorStartup/tq_first_frame_probe")"
standin="$(realpath "$dir/Tests/EndToEnd/libtq_hidapi_standin.so")"

# Label and program of every editor measured: this tree's, then the baseline's.
labels=(editor)
editors=("$(editor_in .)")
if [ $# -ge 1 ]; then
    build "$1" TessaquorbelEditor
    labels=(editor baseline)
    editors+=("$(editor_in "$1")")
    echo "editor:   $(git describe --always --dirty 2>/dev/null || pwd)"
    echo "baseline: $(git -C "$1" describe --always --dirty 2>/dev/null || echo "$1")"
fi

work="$(mktemp -d /tmp/tq-measure.XXXXXX)"
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do kill -INT "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
mkdir -p "$HOME"

load() { cut -d' ' -f1-3 /proc/loadavg; }
echo "load average at start: $(load) ($(nproc) cores)"

# Median and minimum of the numbers on standard input, one per line.
stats() { sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "median %.2f, minimum %.2f", m, v[1] }'; }

# The framework lets one editor run per machine (a lock file in /var/tmp); a
# private /var/tmp keeps these runs apart from any other editor running here,
# and lets this tree's editor and the baseline's idle side by side. Every
# program is started the same way, so the comparison stays fair.
isolated=()
if unshare --mount --propagation private true 2>/dev/null; then
    isolated=(/usr/bin/unshare --mount --propagation private /bin/sh -c 'mount -t tmpfs tmpfs /var/tmp && exec "$@"' isolate)
fi

first_frame() { "$probe" "$1" "${isolated[@]}" "$2"; }

# Start-up: in each pair the bare window and every editor start once, one
# after the other, the order turning from pair to pair so that neither side
# always comes first.
programs=("$bare" "${editors[@]}")
names=("Bare JUCE Window")
for _ in "${editors[@]}"; do names+=("Tessaquorbel Editor"); done
for ((p = 0; p < pairs; p++)); do
    line=()
    for ((k = 0; k < ${#programs[@]}; k++)); do
        i=$(((p + k) % ${#programs[@]}))
        line[i]="$(first_frame "${names[i]}" "${programs[i]}")"
        sleep 0.3
    done
    echo "${line[*]}" >> "$work/startup"
done

echo "start-up to first painted frame, $pairs pairs:"
echo "  bare JUCE window: $(cut -d' ' -f1 "$work/startup" | stats) ms"
for ((e = 0; e < ${#editors[@]}; e++)); do
    column=$((e + 2))
    printf '  %-16s  %s ms; ratio to the bare window: %s\n' "${labels[e]}:" \
        "$(cut -d' ' -f"$column" "$work/startup" | stats)" \
        "$(awk -v c="$column" '{ print $c / $1 }' "$work/startup" | stats)"
done

# Idle: every editor with a simulated pedal of its own, and the bare window,
# all running over the same seconds, each window in a column of the screen.
window_of() {
    local pid="$1" name="$2" found=""
    for _ in $(seq 100); do
        for w in $(xdotool search --onlyvisible --name "^$name\$" 2>/dev/null); do
            [ "$(xdotool getwindowpid "$w" 2>/dev/null)" = "$pid" ] && found="$w"
        done
        [ -n "$found" ] && break
        sleep 0.1
    done
    echo "$found"
}

"${isolated[@]}" "$bare" > /dev/null 2>&1 &
pids+=($!)
bare_pid=$!

editor_pids=()
for ((e = 0; e < ${#editors[@]}; e++)); do
    pedal="$work/pedal-$e"
    mkdir -p "$pedal"
    echo "sim-$e" > "$pedal/plugged"
    TQ_PEDAL_DIR="$pedal" LD_PRELOAD="$standin" "${isolated[@]}" "${editors[e]}" > "$work/editor-$e.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    editor_pids+=("$pid")
    for _ in $(seq 100); do
        grep -q '^CE 00$' "$pedal/received.log" 2>/dev/null && break
        sleep 0.1
    done
    grep -q '^CE 00$' "$pedal/received.log" || { echo "${labels[e]} did not read the pedal"; exit 1; }

    window="$(window_of "$pid" "Tessaquorbel Editor")"
    [ -n "$window" ] || { echo "no window of ${labels[e]}"; exit 1; }
    xdotool windowmove --sync "$window" $((430 * (e + 1))) 0
    eval "$(xdotool getwindowgeometry --shell "$window")"

    # Show every page once, so all the skin's images in use are decoded.
    click() { xdotool mousemove --sync $((X + $1 * WIDTH / 624)) $((Y + $2 * WIDTH / 624)) click 1; sleep 0.5; }
    click 430 27   # ABOUT
    click 285 27   # FOOTSWITCHES
    click 130 27   # GLOBALS
    click 276 517  # AMP block
done

bare_window="$(window_of "$bare_pid" "Bare JUCE Window")"
[ -n "$bare_window" ] && xdotool windowmove --sync "$bare_window" 0 0
sleep 3

# User and system time of every thread, in clock ticks: fields 14 and 15 of
# /proc/PID/stat, counted after the name in parentheses, which may hold spaces.
ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
watched=("$bare_pid" "${editor_pids[@]}")
before=()
for pid in "${watched[@]}"; do before+=("$(ticks "$pid")"); done
sleep "$idle_seconds"
after=()
for pid in "${watched[@]}"; do after+=("$(ticks "$pid")"); done

hz="$(getconf CLK_TCK)"
cpu() { awk -v t="$1" -v hz="$hz" -v s="$idle_seconds" 'BEGIN { printf "%.2f %%", 100 * t / hz / s }'; }
echo "idle CPU over the same $idle_seconds s, in percent of one core:"
echo "  bare JUCE window: $(cpu $((after[0] - before[0])))"
for ((e = 0; e < ${#editors[@]}; e++)); do
    pid="${editor_pids[e]}"
    rss_kb="$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")"
    printf '  %-16s  %s with the pedal attached; resident memory after every page: %.1f MB\n' "${labels[e]}:" \
        "$(cpu $((after[e + 1] - before[e + 1])))" "$(awk -v kb="$rss_kb" 'BEGIN { print kb / 1024 }')"
done
echo "load average at end: $(load)"
