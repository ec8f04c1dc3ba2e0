#!/usr/bin/env bash
# Fails when anything under src/core includes Qt or the GUI layer: the core stays plain C++.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
hits=$(grep -rnE '#include *[<"](Q[A-Za-z]|qt|gui/)' "$root/src/core" || true)
if [ -n "$hits" ]; then
  echo "src/core must not include Qt or src/gui:"
  echo "$hits"
  exit 1
fi
echo "core layer: no Qt, no GUI includes"
