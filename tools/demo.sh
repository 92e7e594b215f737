#!/usr/bin/env bash
# Builds the viewer and the demo file-set writer (when needed), writes a fresh demo file set
# into demo/ of the repository, copies the viewer to demo/ORVANE/orvane (a copy: the viewer
# finds its file set from its own real path) and starts it. Arguments go to the viewer.
# ORVANE_BUILD_DIR chooses the build folder (default: build/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANE_BUILD_DIR:-$here/build}
demo=$here/demo

if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --parallel "$(nproc)" --target orvane orvane_demo_fileset

rm -rf "$demo"
"$build/bin/orvane_demo_fileset" "$demo"
mkdir -p "$demo/ORVANE"
cp "$build/bin/orvane" "$demo/ORVANE/orvane"
exec "$demo/ORVANE/orvane" "$@"
