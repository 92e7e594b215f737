#!/usr/bin/env bash
# Fuzzes the readers open-ended with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer, each on two cores, for [seconds] (default 600), then prints what
# it found. Builds with clang into build-fuzz; corpus and findings stay in build-fuzz/fuzz-run.
# Usage: tools/fuzz.sh [seconds] [kind...]   (kinds: image dicomdir pstate; default all three)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-600}
shift || true
kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(image dicomdir pstate)
build=$here/build-fuzz
run=$build/fuzz-run
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$here" -B "$build" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DORVANE_FUZZ=ON >/dev/null
cmake --build "$build" --parallel "${ORVANE_BUILD_JOBS:-3}" --target "${kinds[@]/#/fuzz_}" orvane_fuzz_seeds

"$build/bin/orvane_fuzz_seeds" "$run/seeds"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
pids=()
for kind in "${kinds[@]}"; do
  mkdir -p "$run/corpus/$kind" "$run/artifacts/$kind"
  (cd "$run/artifacts/$kind" &&
   "$build/bin/fuzz_$kind" "$run/corpus/$kind" "$run/seeds/$kind" "$here/tests/fuzz/regressions/$kind" \
     -fork=2 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -timeout=5 -rss_limit_mb=2560 \
     -max_total_time="$seconds" -artifact_prefix="$run/artifacts/$kind/" -print_final_stats=1 \
     >"$run/$kind.log" 2>&1) &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid" || true; done

for kind in "${kinds[@]}"; do
  echo "== fuzz_$kind ($seconds s)"
  # The last status line of fork mode: runs, coverage, features, corpus, crashes
  grep -E '^#[0-9]+: cov:' "$run/$kind.log" | tail -1 || tail -5 "$run/$kind.log"
  echo "corpus: $(ls "$run/corpus/$kind" | wc -l) inputs, $(du -sh "$run/corpus/$kind" | cut -f1)"
  found=$(ls "$run/artifacts/$kind" | grep -E '^(crash|timeout|oom|leak|slow-unit)-' || true)
  if [ -n "$found" ]; then
    echo "found:"; echo "$found" | sed "s|^|  $run/artifacts/$kind/|"
  else
    echo "found: nothing"
  fi
done
