#!/usr/bin/env bash
# Writes a fresh demo file set into demo/ of the repository with the viewer folder that a disc
# carries (tools/make-disc-folder.sh) in demo/ORVANE/, and starts demo/ORVANE/orvane there (the
# viewer finds its file set from its own real path). Arguments go to the viewer.
# ORVANE_BUILD_DIR chooses the Release build folder (default: build-release/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANE_BUILD_DIR:-$here/build-release}
demo=$here/demo

rm -rf "$demo"
"$here/tools/make-disc-folder.sh" "$demo/ORVANE" "$build"
cmake --build "$build" --parallel "$(nproc)" --target orvane_demo_fileset
"$build/bin/orvane_demo_fileset" "$demo"
exec "$demo/ORVANE/orvane" "$@"
