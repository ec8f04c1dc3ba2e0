#!/usr/bin/env bash
# Builds the Debian packages tradeloom and tradeloom-market from the build tree (building only
# the two programs and their packaging files) into the given folder (default dist/).
#   scripts/package.sh [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${TRADELOOM_BUILD_DIR:-$root/build}"
out="$(realpath -m "${1:-$root/dist}")"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target tradeloom tradeloom-market tradeloom_packaging_files
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -B "$out"
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb
