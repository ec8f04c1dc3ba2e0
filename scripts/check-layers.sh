#!/usr/bin/env bash
# Fails when a layer reaches into one above it: src/core stays plain C++ without Qt, the GUI or
# the GUI's dialog and control ids (res/); the marketplace server uses neither Qt nor the GUI.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
failed=0

# forbid DIR WHAT PATTERN: every #include under DIR that matches PATTERN is a fault.
forbid() {
  local hits
  hits=$(grep -rnE --include='*.h' --include='*.cpp' "#include *[<\"]($3)" "$root/$1" || true)
  if [ -n "$hits" ]; then
    echo "$1 must not include $2:"
    echo "$hits"
    failed=1
  fi
}

forbid src/core "Qt or src/gui" 'Q[A-Za-z]|qt|gui/|src/gui/'
forbid src/core "the resource ids of res/" 'ids_[A-Za-z_]*\.h|res/'
forbid server "Qt or src/gui" 'Q[A-Za-z]|qt|gui/|src/gui/'

# Nor may the server's build reach the GUI library or its sources.
hits=$(grep -nE 'tradeloom_gui|src/gui|/res\b|Qt6' "$root/server/CMakeLists.txt" || true)
if [ -n "$hits" ]; then
  echo "server/ must not build with the GUI:"
  echo "$hits"
  failed=1
fi

[ "$failed" -eq 0 ] || exit 1
echo "layers hold: core without Qt, GUI or res/; server without Qt or GUI"
