#!/usr/bin/env bash
# Installs what is needed, builds the editor and starts it. Without a display
# it starts on a virtual one (Xvfb), so the command works on a server too.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTQ_BUILD_TESTS=OFF
cmake --build build/release --parallel "$(nproc)" --target TessaquorbelEditor

editor="build/release/Source/Shell/TessaquorbelEditor_artefacts/Release/Tessaquorbel Editor"
if [ -n "${DISPLAY:-}" ]; then
    exec "$editor"
else
    echo "No DISPLAY set: starting the editor on a virtual display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1920x1080x24" "$editor"
fi
