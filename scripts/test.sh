#!/usr/bin/env bash
# Sets the machine up, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${TRADELOOM_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
cd "$build"
ctest --output-on-failure -j2 --timeout 300
# Every fuzz target for 20 s from its seed corpus, as a regression test of the readers.
"$root/scripts/fuzz.sh" 20
