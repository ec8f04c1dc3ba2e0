#!/usr/bin/env bash
# Sets the machine up, builds, and starts the client.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${TRADELOOM_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target tradeloom
export TRADELOOM_HOME="${TRADELOOM_HOME:-$root/run/home}"
exec "$build/tradeloom" "$@"
