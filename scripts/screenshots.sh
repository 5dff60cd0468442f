#!/usr/bin/env bash
# Renders the README's pictures into docs/: the main window after a search,
# load-all and selection on the demo site, and the link window with the
# address the demo site resolved. Uses Qt's offscreen platform.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/screenshots
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORRIN_BUILD_BENCH=OFF
cmake --build "$build" -j2 --target quorrin_gui_tests

mkdir -p docs
QT_QPA_PLATFORM=offscreen QUORRIN_SCREENSHOT_DIR="$PWD/docs" \
  "$build/tests/gui/quorrin_gui_tests" --gtest_filter='ClientOnDemoSite.ScreenshotsAfterADemoSearch'
ls -l docs/demo_main_window.png docs/demo_link_window.png
