#!/usr/bin/env bash
# Builds the skin generator and writes the button and bar pictures, the icons and
# res/skins.qrc. Usage: tools/skins/make-skins.sh [build-dir]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-skins}
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --parallel "$(nproc)" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/make_skins" "$root/res"
