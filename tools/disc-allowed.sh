# Sourced by make-disc-folder.sh and disc-check.sh. The libraries that the viewer folder of a file
# set takes from the reader's desktop, by soname: the C library and its loader, X11/xcb, GL
# (libglvnd's dispatch libraries), fontconfig and freetype. Everything else the viewer loads is in
# the folder. The README's "Putting the viewer on a file set" lists the same names.
disc_allowed=(
  ld-linux-x86-64.so.2 libc.so.6 libm.so.6 libresolv.so.2
  libX11.so.6 libX11-xcb.so.1 libXau.so.6 libXdmcp.so.6 libXcursor.so.1 libXrender.so.1 libXfixes.so.3
  libSM.so.6 libICE.so.6
  libxcb.so.1 libxcb-icccm.so.4 libxcb-image.so.0 libxcb-keysyms.so.1 libxcb-randr.so.0 libxcb-render.so.0
  libxcb-render-util.so.0 libxcb-shape.so.0 libxcb-shm.so.0 libxcb-sync.so.1 libxcb-util.so.1
  libxcb-xfixes.so.0 libxcb-xkb.so.1
  libEGL.so.1 libGLX.so.0 libOpenGL.so.0 libGLdispatch.so.0
  libfontconfig.so.1 libfreetype.so.6
)

# True when $1 (a soname or a file name such as libc.so.6 or libX11.so.6.4.0) is allowed.
disc_allowed_library() {
  local name=$1 allowed
  for allowed in "${disc_allowed[@]}"; do
    case $name in "$allowed" | "$allowed".*) return 0 ;; esac
  done
  return 1
}
