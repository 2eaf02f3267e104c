#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for
# FUZZ_SECONDS (default 30). A crash or sanitizer report fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-30}"
dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTQ_SANITIZE=address -DTQ_BUILD_FUZZERS=ON -DTQ_BUILD_TESTS=OFF -DTQ_BUILD_GUI=OFF
cmake --build "$dir" --parallel "$(nproc)"

mapfile -t fuzzers < <(find "$dir/Fuzz" -type f -executable -name 'fuzz_*' | sort)
if [ "${#fuzzers[@]}" -eq 0 ]; then
    echo "No fuzz targets built."
    exit 0
fi

for f in "${fuzzers[@]}"; do
    name="$(basename "$f")"; name="${name#fuzz_}"
    corpus="$dir/corpus/$name"
    rm -rf "$corpus"; mkdir -p "$corpus"
    seed="$(dirname "$f")/seed_$name"
    if [ -x "$seed" ]; then
        "$seed" "$corpus"
    fi
    echo "=== fuzzing $name for ${seconds}s ==="
    "$f" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 "$corpus"
done
echo "=== all fuzz targets ran clean ==="
