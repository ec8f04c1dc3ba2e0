#!/usr/bin/env bash
# Builds the fuzz targets with clang (in build-fuzz, apart from the g++ build) and runs each for
# the given number of seconds (default 600), one after the other, from its seed corpus in
# fuzz/corpus/<target>/. New inputs go to build-fuzz/corpus/<target>/, findings to
# build-fuzz/findings/<target>/. Exits non-zero when a target finds a crash, a leak or a hang.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-600}"
shift || true
build="${TRADELOOM_FUZZ_BUILD_DIR:-$root/build-fuzz}"

if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRADELOOM_FUZZ=ON "${launcher[@]}" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for dir in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

failed=()
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target" "$build/findings/$target"
  echo "fuzz: $target for ${seconds}s"
  # An input taking over 10 s counts as a hang; -rss_limit_mb bounds memory per run.
  if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$target/" \
      "$build/corpus/$target" "$root/fuzz/corpus/$target" >"$build/findings/$target.log" 2>&1; then
    failed+=("$target")
    tail -n 40 "$build/findings/$target.log" >&2
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE" "$build/findings/$target.log" || true
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: findings in ${failed[*]} (inputs in $build/findings/)" >&2
  exit 1
fi
