#!/usr/bin/env bash
# The floors of the tree: lists every #include "<folder>/..." from one top folder into another
# (with its count) and fails when a folder includes one that is not below it. The floors are
# the bullets of the README's Layout section, bottom up; a bullet that starts with several
# folders puts them on one floor, and those include nothing of each other.
# Usage: tools/check-floors.sh [source dir]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# "- `controls/`, `annotation/`: ..." -> "controls annotation"
mapfile -t floors < <(awk '/^## Layout/ { on = 1; next } /^## / { on = 0 } on && /^- `/' README.md |
    sed -E 's/^- ((`[A-Za-z0-9_.-]+\/`(, | and )?)+).*/\1/' | sed -E 's/(, | and )/ /g; s/[`\/]//g')
if [ "${#floors[@]}" -eq 0 ]; then
    echo "check-floors: no floors in the Layout section of $root/README.md" >&2
    exit 1
fi
declare -A floor_of
for i in "${!floors[@]}"; do
    for folder in ${floors[$i]}; do
        floor_of[$folder]=$i
    done
done
echo "Floors, bottom up:"
for i in "${!floors[@]}"; do
    echo "  $((i + 1)): ${floors[$i]}"
done

# The sources: tracked and new files of a checkout, else every file outside the build trees
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    list_sources() { git ls-files --cached --others --exclude-standard -- '*.h' '*.hpp' '*.cpp' '*.cc'; }
else
    list_sources() { find . \( -name 'build*' -o -name demo -o -name '.*' \) -prune -o -type f \
        \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print | sed 's|^\./||'; }
fi

failed=0
declare -A edges
while IFS= read -r file; do
    [ -f "$file" ] || continue
    case "$file" in */*) ;; *) continue ;; esac
    from=${file%%/*}
    while IFS=: read -r line target; do
        to=${target%%/*}
        # Only the project's own folders: "dcmtk/..." and the like are no floor of ours
        [ -d "$to" ] || continue
        [ "$to" = "$from" ] && continue
        edges["$from -> $to"]=$(( ${edges["$from -> $to"]:-0} + 1 ))
        if [ -z "${floor_of[$from]+x}" ]; then
            echo "FAIL $file:$line: $from/ is on no floor of the README's Layout section" >&2
            failed=1
        elif [ -z "${floor_of[$to]+x}" ]; then
            echo "FAIL $file:$line: includes $target: $to/ is on no floor of the README's Layout section" >&2
            failed=1
        elif [ "${floor_of[$to]}" -ge "${floor_of[$from]}" ]; then
            echo "FAIL $file:$line: includes $target: $to/ is not below $from/" >&2
            failed=1
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]+/[^"]+"' "$file" |
             sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1:\2/')
done < <(list_sources | sort)

echo "Includes between folders:"
for edge in "${!edges[@]}"; do
    echo "  $edge: ${edges[$edge]}"
done | sort
if [ "$failed" -ne 0 ]; then
    echo "check-floors: includes that run up or sideways (see above)" >&2
    exit 1
fi
echo "check-floors: every include goes down"
