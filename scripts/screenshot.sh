#!/usr/bin/env bash
# Renders Brindle's main window offscreen (no display needed) into docs/brindle.png, the
# picture the README shows. Builds the renderer first; BUILD_DIR picks a configured build
# directory other than the default preset's.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${BUILD_DIR:-build}"
if [ "$build_dir" = build ] && [ ! -f build/CMakeCache.txt ]; then
  cmake --preset default
fi
cmake --build "$build_dir" --target brindle_screenshot

mkdir -p docs
runtime_dir="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=offscreen \
  "$build_dir/bin/brindle_screenshot" docs/brindle.png
echo "wrote docs/brindle.png"
