#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test in four passes:
#   1. the normal build (all runners; GUI runners on a virtual display),
#   2. AddressSanitizer + UndefinedBehaviorSanitizer (all runners and the
#      end-to-end scenarios),
#   3. ThreadSanitizer (the runners with threads),
#   4. every libFuzzer target for a short run.
# Any failing test or sanitizer report fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

echo "=== desktop entry ==="
desktop-file-validate packaging/linux/tessaquorbel-editor.desktop

jobs="$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
export LSAN_OPTIONS="suppressions=$PWD/Tests/lsan.supp:print_suppressions=0"

configure_and_build() {
    local dir="$1"; shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" --parallel "$jobs"
}

run_ctest() {
    local dir="$1"; shift
    # GUI runners need an X display; one virtual display serves the whole run.
    # -noreset: a server that resets whenever its last client leaves refuses
    # a test that connects just then, and forgets the atoms the runners make.
    xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" \
        ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" "$@"
}

# The end-to-end scenarios (one editor at a time) wait for what the editor
# shows and does rather than for set times. They still drive a real window
# with synthetic input, and on a loaded machine the window system can lose a
# click, so a failed scenario gets one more try. Every other test must pass
# first time.
run_all_ctest() {
    local dir="$1"
    run_ctest "$dir" -LE e2e
    run_ctest "$dir" -L e2e --repeat until-pass:2
}

echo "=== normal build ==="
configure_and_build build/tests -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_all_ctest build/tests

echo "=== AddressSanitizer + UndefinedBehaviorSanitizer ==="
configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DTQ_SANITIZE=address
run_all_ctest build/asan

echo "=== ThreadSanitizer ==="
configure_and_build build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTQ_SANITIZE=thread -DTQ_BUILD_GUI=OFF
run_ctest build/tsan -L threaded

echo "=== fuzz targets (clang, ASan + UBSan) ==="
bash scripts/run-fuzzers.sh

echo "=== all test passes succeeded ==="
