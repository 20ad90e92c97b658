#!/usr/bin/env bash
# Renders the README's pictures offscreen (no display needed): Brindle's main window into
# docs/brindle.png, and Gaugery Designer with Brindle's form open and the object key
# dialog beside it into docs/designer.png. Builds the renderers first; BUILD_DIR picks a
# configured build directory other than the default preset's.
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir="${BUILD_DIR:-build}"
if [ "$build_dir" = build ] && [ ! -f build/CMakeCache.txt ]; then
  cmake --preset default
fi
cmake --build "$build_dir" --target brindle_screenshot designer_screenshot

mkdir -p docs
runtime_dir="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=offscreen \
  "$build_dir/bin/brindle_screenshot" docs/brindle.png
echo "wrote docs/brindle.png"
XDG_RUNTIME_DIR="$runtime_dir" QT_QPA_PLATFORM=offscreen \
  "$build_dir/bin/designer_screenshot" example/fmBrindle.json docs/designer.png
echo "wrote docs/designer.png"
