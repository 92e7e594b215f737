#!/usr/bin/env bash
# Writes the viewer folder that a file set carries one level below its DICOMDIR: the program, the
# libraries and Qt plugins it loads, the toolkit's data dictionary and the fonts it maps, so that it
# starts on a desktop that offers only the libraries of tools/disc-allowed.sh.
# Usage: tools/make-disc-folder.sh <folder> [build-dir]
# build-dir: an existing Release build folder, or one to make (default: build-release/).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/disc-allowed.sh
. "$here/tools/disc-allowed.sh"

[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: $0 <folder> [build-dir]" >&2; exit 2; }
out=$1
build=${2:-$here/build-release}
if [ -e "$out" ] && [ -n "$(ls -A "$out")" ]; then
  echo "$out exists and is not empty" >&2
  exit 1
fi
for tool in patchelf qtpaths6 fc-match strip; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run tools/install-deps.sh" >&2; exit 1; }
done

if [ -f "$build/CMakeCache.txt" ]; then
  type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
  [ "$type" = Release ] || { echo "$build is a '$type' build, not a Release one" >&2; exit 1; }
else
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  cmake -S "$here" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
fi
cmake --build "$build" --parallel "$(nproc)" --target orvane

mkdir -p "$out/lib" "$out/plugins" "$out/fonts"

# The program finds its libraries in lib/ beside it. DT_RPATH, not RUNPATH: the loader then also
# takes it for the dependencies of the system's own libraries (fontconfig's expat, freetype's png).
install -m 755 "$build/bin/orvane" "$out/orvane"
strip "$out/orvane"
patchelf --force-rpath --set-rpath '$ORIGIN/lib' "$out/orvane"

# Qt's plugins as the viewer loads them: the xcb platform, the compose input context that xcb
# starts, and the jpeg reader of the skins (PNG and BMP are built into Qt Gui). Qt's other
# image-format plugins are only asked what they read.
qt_plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS)
plugins=(platforms/libqxcb.so platforminputcontexts/libcomposeplatforminputcontextplugin.so imageformats/libqjpeg.so)
for p in "${plugins[@]}"; do
  mkdir -p "$out/plugins/$(dirname "$p")"
  install -m 644 "$qt_plugins/$p" "$out/plugins/$p"
done
printf '[Paths]\nPrefix = .\nPlugins = plugins\n' > "$out/qt.conf"

# Every library the loader resolves for the program and the plugins, less the allowed ones.
loaded=$(ldd "$out/orvane" "${plugins[@]/#/$out/plugins/}")
if grep -q "not found" <<<"$loaded"; then
  grep "not found" <<<"$loaded" >&2
  exit 1
fi
while read -r soname path; do
  disc_allowed_library "$soname" && continue
  [ -f "$out/lib/$soname" ] || install -m 644 "$(readlink -f "$path")" "$out/lib/$soname"
done < <(awk '$2 == "=>" && $3 ~ /^\// { print $1, $3 }' <<<"$loaded" | sort -u)

# DCMTK reads its data dictionary from files unless it was built with the dictionary inside; the
# program points DCMDICTPATH at the *.dic files beside it.
read -r dict_default dict_path < <(printf '#include <dcmtk/config/osconfig.h>\nDCM_DICT_DEFAULT DCM_DICT_DEFAULT_PATH\n' |
  c++ -E -P -x c++ - | tail -n 1 | tr -d '"')
if [ "$dict_default" = 2 ]; then
  IFS=: read -r -a dictionaries <<<"$dict_path"
  for d in "${dictionaries[@]}"; do install -m 644 "$d" "$out/$(basename "$d")"; done
fi

# The faces the font table of platform/Gdi.cpp maps the viewer's Windows names to, as the
# program uses them (regular and bold); it loads them where the system lacks them.
for family in "Liberation Sans" "Liberation Serif" "DejaVu Sans"; do
  for weight in regular bold; do
    IFS='|' read -r found file < <(fc-match -f '%{family[0]}|%{file}\n' "$family:weight=$weight")
    [ "$found" = "$family" ] || { echo "no font file for $family ($weight): run tools/install-deps.sh" >&2; exit 1; }
    install -m 644 "$file" "$out/fonts/$(basename "$file")"
  done
done

echo "viewer folder $out: $(du -sh "$out" | cut -f1), $(find "$out/lib" -type f | wc -l) libraries; largest parts:"
(cd "$out" && du -ab . | sort -rn | awk '$2 != "." && $2 != "./lib" { printf "  %6.1f MB  %s\n", $1 / 1048576, substr($2, 3) }' | head -n 12)
