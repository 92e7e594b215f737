#!/usr/bin/env bash
# Builds the project and runs every test. Usage: tools/test.sh [build-dir] [extra cmake args...]
# ORVANE_SANITIZE=1 builds with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
shift || true
sanitize=OFF
[ "${ORVANE_SANITIZE:-0}" = "1" ] && sanitize=ON
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANE_SANITIZE=$sanitize "$@"
cmake --build "$build" --parallel "$(nproc)"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
