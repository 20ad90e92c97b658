#!/usr/bin/env bash
# Renders the README's pictures.
#
#   scripts/screenshot.sh           offscreen, no display needed: Brindle's main window
#                                   into docs/brindle.png, and Gaugery Designer with
#                                   Brindle's form open and the object key dialog beside
#                                   it into docs/designer.png
#   scripts/screenshot.sh web       the web view of `gaugery serve` in headless Chromium,
#                                   after half a minute of samples, into docs/web.png
#   scripts/screenshot.sh web-log FILE  the same page on a log of half a minute recorded
#                                   first, shown whole, into FILE (to look at)
#   scripts/screenshot.sh windows   brindle.exe of the mingw32 build under Wine on a
#                                   virtual display, replaying two captures of this
#                                   machine, into docs/brindle-windows.png
#
# Builds what it shows first; BUILD_DIR picks a configured build directory other than the
# default preset's.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${BUILD_DIR:-build}"
if [ "$build_dir" = build ] && [ ! -f build/CMakeCache.txt ]; then
  cmake --preset default
fi
mkdir -p docs

qt_pictures() {
  cmake --build "$build_dir" --target brindle_screenshot designer_screenshot
  local runtime_dir="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
  XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=offscreen \
    "$build_dir/bin/brindle_screenshot" docs/brindle.png
  echo "wrote docs/brindle.png"
  XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=offscreen \
    "$build_dir/bin/designer_screenshot" example/fmBrindle.json docs/designer.png
  echo "wrote docs/designer.png"
}

# Runs on the virtual display that xvfb-run gives it ($DISPLAY).
windows_picture_on_display() {
  local work="$build_dir/wine-screenshot"
  rm -rf "$work"
  mkdir -p "$work"
  "$build_dir/bin/gaugery" capture "$work/first.blk" >/dev/null
  sleep 1
  "$build_dir/bin/gaugery" capture "$work/second.blk" >/dev/null
  export WINEPREFIX="$PWD/$work/prefix" WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  wineboot -i </dev/null >/dev/null 2>&1
  # Wine's TrueType fonts are not put into a new prefix; the caption buttons need Marlett.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # A Wine desktop draws the window's frame itself; the picture is cut to the window's
  # designed bounds.
  wine explorer /desktop=Brindle,800x540 build/mingw32/bin/brindle.exe \
    --replay "Z:$PWD/$work/first.blk" --replay "Z:$PWD/$work/second.blk" </dev/null \
    >/dev/null 2>&1 &
  local desktop="" waited=0
  # The desktop shows black until the program has drawn its window into it.
  until [ -n "$desktop" ] && import -window "$desktop" docs/brindle-windows.png 2>/dev/null &&
        [ "$(convert docs/brindle-windows.png -format '%[fx:mean > 0.1]' info:)" = 1 ]; do
    [ $waited -lt 600 ] || { echo "screenshot: Brindle did not show" >&2; exit 1; }
    sleep 0.1
    waited=$((waited + 1))
    desktop=$(xwininfo -root -tree | awk '/"Brindle - Wine desktop"/ { print $1; exit }')
  done
  sleep 2  # one refresh from the second capture
  import -window "$desktop" -crop 544x390+218+109 +repage docs/brindle-windows.png
  echo "wrote docs/brindle-windows.png"
}

windows_picture() {
  [ -f build/mingw32/CMakeCache.txt ] || cmake --preset mingw32
  cmake --build build/mingw32 --target brindle
  cmake --build "$build_dir" --target gaugery
  BUILD_DIR="$build_dir" xvfb-run -a -s "-screen 0 1024x768x24" "$0" windows-on-display
}

web_picture() {
  cmake --build "$build_dir" --target gaugery
  /usr/bin/python3 tests/tools/web-view-test.py "$build_dir/bin/gaugery" --screenshot docs/web.png
  echo "wrote docs/web.png"
}

web_log_picture() {
  cmake --build "$build_dir" --target gaugery
  /usr/bin/python3 tests/tools/web-view-test.py "$build_dir/bin/gaugery" --screenshot-log "$1"
  echo "wrote $1"
}

case "${1:-}" in
  "") qt_pictures ;;
  web) web_picture ;;
  web-log) web_log_picture "${2:?scripts/screenshot.sh web-log FILE}" ;;
  windows) windows_picture ;;
  windows-on-display) windows_picture_on_display ;;
  *) echo "usage: scripts/screenshot.sh [web | web-log FILE | windows]" >&2; exit 2 ;;
esac
