#!/usr/bin/env bash
# Starts the viewer folder of a file set on a root that holds only the allowed system libraries
# (tools/disc-allowed.sh: the files of their Debian packages, no Qt, no DCMTK, no fonts), against a
# virtual X server, and checks from screenshots that it shows the Study List and the skinned tool
# bar, opens a study and paints its first image, and that every library it maps is in the folder or allowed.
# Usage: tools/disc-check.sh [viewer-folder]   (default: a fresh one from make-disc-folder.sh)
# Runs as root (chroot in a private mount namespace). ORVANE_DISC_BUILD_DIR: the Release build folder;
# ORVANE_DISC_KEEP=1 keeps the screenshots (as a failure does).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/disc-allowed.sh
. "$here/tools/disc-allowed.sh"
build=${ORVANE_DISC_BUILD_DIR:-$here/build-release}
started=$(date +%s)

work=$(mktemp -d /tmp/orvane-disc-check.XXXXXX)
root=$work/root
viewer_pid="" xvfb_pid="" keep=${ORVANE_DISC_KEEP:-0}
cleanup() {
  [ -n "$viewer_pid" ] && kill "$viewer_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  # The mounts lived in the viewer's own namespace only; never remove across one that stayed
  if grep -q " $root" /proc/mounts; then echo "mounts left under $root" >&2; return; fi
  if [ "$keep" = 1 ]; then
    rm -rf --one-file-system "$root" "$work/ORVANE"
    echo "screenshots and logs kept in $work" >&2
  else
    rm -rf --one-file-system "$work"
  fi
}
trap cleanup EXIT
fail() { echo "disc check FAILED: $*" >&2; keep=1; exit 1; }

if [ $# -ge 1 ]; then
  folder=$(cd "$1" && pwd)
else
  folder=$work/ORVANE
  "$here/tools/make-disc-folder.sh" "$folder" "$build"
fi
cmake --build "$build" --parallel "$(nproc)" --target orvane_demo_fileset >/dev/null

# The root: the files of the packages that hold the allowed libraries, and fontconfig's settings
mkdir -p "$root"/{usr/bin,usr/lib,usr/lib64,usr/sbin,dev,proc,tmp/.X11-unix,etc,root}
for d in bin lib lib64 sbin; do ln -s "usr/$d" "$root/$d"; done
packages=(fontconfig-config)
ldconfig -p > "$work/ldconfig"
for soname in "${disc_allowed[@]}"; do
  path=$(awk -v s="$soname" '$1 == s && /x86-64/ && !p { print $NF; p = 1 }' "$work/ldconfig")
  [ -n "$path" ] || continue
  real=$(readlink -f "$path")
  # dpkg names files by their path before the /usr merge or after it
  package=$(dpkg -S "$path" "$real" "${real#/usr}" "/usr${path#/usr}" 2>/dev/null | sed -n '1s/:.*//p') || true
  [ -n "$package" ] || fail "no package holds $path"
  packages+=("$package")
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)
dpkg -L "${packages[@]}" | sort -u | while read -r f; do [ -d "$f" ] || echo "${f#/}"; done > "$work/files"
tar -C / --no-recursion -cf - -T "$work/files" | tar -C "$root" -xf -
mknod -m 666 "$root/dev/null" c 1 3
mknod -m 666 "$root/dev/zero" c 1 5
mknod -m 666 "$root/dev/urandom" c 1 9
chmod 1777 "$root/tmp"
echo "root:x:0:0:root:/root:/bin/sh" > "$root/etc/passwd"
if [ -n "$(find "$root" \( -name 'libQt6*' -o -name 'libdcm*' -o -name 'libofstd*' -o -name '*.ttf' \))" ]; then
  fail "the root holds Qt, DCMTK or fonts"
fi

# A generated file set with the folder one level below its DICOMDIR
"$build/bin/orvane_demo_fileset" "$root/disc" >/dev/null
cp -a "$folder" "$root/disc/ORVANE"

# The virtual X server runs outside; its socket is bound into the root
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 40); do
  display=$(cat "$work/display" 2>/dev/null) && [ -n "$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.5
done
[ -n "$display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$display

unshare --mount sh -c '
  mount --bind /tmp/.X11-unix "$1/tmp/.X11-unix" && mount -t proc proc "$1/proc" &&
  exec env -i DISPLAY="$2" HOME=/root LANG=C.UTF-8 "$3" "$1" /disc/ORVANE/orvane' \
  sh "$root" "$DISPLAY" "$(command -v chroot)" >"$work/viewer.log" 2>&1 &
viewer_pid=$!

shot() { import -window root "$work/$1.png"; }
alive() { kill -0 "$viewer_pid" 2>/dev/null || fail "the viewer ended: $(cat "$work/viewer.log")"; }
# Share of the pixels of a region ("WxH+X+Y") that pass an fx test
share() { convert "$work/$1.png" -crop "$2" +repage -fx "$3" -format '%[fx:mean]' info:; }
above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# 1. The Study List: a window of that name, its list white with dark row text
window=""
for _ in $(seq 120); do
  alive
  window=$(xdotool search --onlyvisible --name '^Study List$' 2>/dev/null | sed -n 1p) && [ -n "$window" ] && break
  sleep 0.5
done
[ -n "$window" ] || fail "no Study List shown: $(cat "$work/viewer.log")"
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
shot list
white=$(share list "$((WIDTH - 20))x$((HEIGHT / 2))+$((X + 10))+$((Y + 40))" 'r > 0.95 && g > 0.95 && b > 0.95')
text=$(share list "$((WIDTH - 20))x80+$((X + 10))+$((Y + 25))" 'r < 0.3 && g < 0.3 && b < 0.3')
echo "Study List at ${WIDTH}x${HEIGHT}+${X}+${Y}: white list $white, row text $text"
above "$white" 0.5 && above "$text" 0.01 || fail "the Study List shows no list of studies (see $work/list.png)"
# The tool bar's buttons are JPEG skins: without Qt's jpeg plugin the row stays black
buttons=$(share list 700x50+360+945 'r + g + b > 0.6')
echo "tool bar buttons: lit share $buttons"
above "$buttons" 0.2 || fail "the tool bar shows no skinned buttons (see $work/list.png)"

# 2. Double-click its first row; the list goes and the view paints the study's first image:
# the middle of the screen turns to many grey levels
xdotool mousemove --window "$window" 60 38 click --repeat 2 --delay 80 1
grey=0
for _ in $(seq 120); do
  alive
  sleep 0.5
  xdotool search --onlyvisible --name '^Study List$' >/dev/null 2>&1 && continue
  shot image
  grey=$(share image 600x500+340+262 'abs(r - g) < 0.02 && abs(g - b) < 0.02 && r > 0.15')
  above "$grey" 0.3 && break
done
levels=$(convert "$work/image.png" -crop 600x500+340+262 +repage -format '%k' info: 2>/dev/null || echo 0)
echo "first image: grey share $grey, $levels colours"
above "$grey" 0.3 && [ "$levels" -ge 4 ] || fail "no image painted after the study was opened (see $work/image.png)"

# 3. Every mapped library is in the folder or allowed; the fonts are the folder's
alive
bad=0 fonts=0
while read -r file; do
  inside=${file#"$root"}
  case $inside in
    /disc/ORVANE/*.ttf) fonts=$((fonts + 1)) ;;
    /disc/ORVANE/*) ;;
    *.so | *.so.*)
      soname=$(readelf -d "$file" 2>/dev/null | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
      disc_allowed_library "${soname:-$(basename "$file")}" || { echo "not allowed: $inside"; bad=1; } ;;
  esac
done < <(awk '$6 ~ /^\// { print $6 }' "/proc/$viewer_pid/maps" | sort -u)
echo "mapped: $(awk '$6 ~ /\.so/ { print $6 }' "/proc/$viewer_pid/maps" | sort -u | wc -l) libraries, $fonts fonts from the folder"
[ "$bad" = 0 ] || fail "libraries from outside the folder"
[ "$fonts" -gt 0 ] || fail "the viewer uses none of the folder's fonts"
echo "disc check passed in $(($(date +%s) - started)) s"
