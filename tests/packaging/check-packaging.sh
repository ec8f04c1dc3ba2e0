#!/usr/bin/env bash
# Checks the installed programs and their packages with the ecosystem's tools.
#   check-packaging.sh packages|validators|installed BUILD_DIR VERSION PROBE_DIR
# packages:   CPack builds tradeloom and tradeloom-market from the built tree; their file lists,
#             versions and conffiles are checked and lintian finds no errors.
# validators: desktop-file-validate, appstreamcli and systemd-analyze accept the desktop file, the
#             metainfo and the service unit; the metainfo's screenshots are in docs/screenshots;
#             the man page names every option of the server.
# installed:  both programs installed to a DESTDIR under another prefix answer --version; the
#             installed server serves and stops cleanly on SIGTERM, and the installed client,
#             under the offscreen platform against it, gets as far as its login dialog.
set -euo pipefail
part="$1" build="$2" version="$3" probe="$4"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
app_id=org.tradeloom.Tradeloom
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

check_packages() {
  cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
  local client="$work/tradeloom_${version}_$(dpkg --print-architecture).deb"
  local market="$work/tradeloom-market_${version}_$(dpkg --print-architecture).deb"
  local deb
  for deb in "$client" "$market"; do
    [ -f "$deb" ] || fail "no package $(basename "$deb")"
  done

  local icons=(/usr/share/icons/hicolor/scalable/apps/$app_id.svg)
  local size
  for size in 16 24 32 48 64 128 256; do
    icons+=("/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
  done
  expect_files "$client" /usr/bin/tradeloom "/usr/share/applications/$app_id.desktop" \
    "${icons[@]}" "/usr/share/metainfo/$app_id.metainfo.xml" /usr/share/man/man1/tradeloom.1.gz \
    /usr/share/doc/tradeloom/copyright /usr/share/doc/tradeloom/changelog.gz
  expect_files "$market" /usr/bin/tradeloom-market /usr/lib/systemd/system/tradeloom-market.service \
    /etc/default/tradeloom-market /usr/share/man/man1/tradeloom-market.1.gz \
    /usr/share/doc/tradeloom-market/copyright /usr/share/doc/tradeloom-market/changelog.gz

  for deb in "$client" "$market"; do
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$(basename "$deb") is not $version"
    dpkg-deb -f "$deb" Depends | grep -q 'libc6' || fail "$(basename "$deb") has no library dependencies"
    # An installed program must not name the build tree it was made in.
    dpkg-deb -x "$deb" "$work/root"
  done
  dpkg-deb -f "$client" Depends | grep -q 'libqt6widgets6' || fail "the client does not depend on Qt"
  dpkg-deb -f "$market" Depends | grep -q 'libsqlite3' || fail "the server does not depend on SQLite"
  if grep -rlF "$build" "$work/root"; then fail "installed files name the build tree $build"; fi
  grep -q "<release version=\"$version\"" "$work/root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo's release is not $version"
  dpkg-deb --ctrl-tarfile "$market" | tar -xO ./conffiles | grep -qx /etc/default/tradeloom-market ||
    fail "/etc/default/tradeloom-market is not a conffile"
  dpkg-deb --ctrl-tarfile "$client" | tar -t | grep -qE 'postinst|prerm|postrm' &&
    fail "the client needs no maintainer scripts"

  # Lintian's warnings are shown; an error fails the test.
  lintian --fail-on error --tag-display-limit 0 "$client" "$market" 2>&1 |
    grep -v 'running with root privileges' || true
  lintian --fail-on error "$client" "$market" >/dev/null 2>&1 || fail "lintian reports errors"
}

# expect_files DEB PATH...: each path is in the package.
expect_files() {
  local deb="$1" path
  shift
  local listed
  listed="$(dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|')"
  for path in "$@"; do
    grep -qxF "$path" <<<"$listed" || fail "$(basename "$deb") lacks $path"
  done
}

check_validators() {
  desktop-file-validate "$source_dir/packaging/$app_id.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$build/packaging/$app_id.metainfo.xml" || fail "appstreamcli"
  # Every picture the metainfo names is one of docs/screenshots/.
  local image shown=0
  for image in $(grep -oE '<image>[^<]+</image>' "$build/packaging/$app_id.metainfo.xml" |
    sed -E 's|.*/([^/<]+)</image>|\1|'); do
    [ -f "$source_dir/docs/screenshots/$image" ] || fail "the metainfo shows $image, not in docs/screenshots"
    shown=$((shown + 1))
  done
  [ "$shown" -gt 0 ] || fail "the metainfo shows no screenshots"

  # The unit as installed, with its program taken from the build; its man page link resolves.
  mkdir -p "$work/man/man1"
  cp "$build/packaging/tradeloom-market.1.gz" "$work/man/man1/"
  sed "s|/usr/bin/tradeloom-market|$build/server/tradeloom-market|" \
    "$source_dir/packaging/tradeloom-market.service" >"$work/tradeloom-market.service"
  MANPATH="$work/man" systemd-analyze verify "$work/tradeloom-market.service" ||
    fail "systemd-analyze verify"

  # Every option the server's usage names is described in the man page.
  local options page option
  options="$({ "$build/server/tradeloom-market" --no-such-option 2>&1 || true; } | grep -oE -- '--[a-z-]+' | sort -u)"
  [ -n "$options" ] || fail "the server's usage names no options"
  page="$(zcat "$build/packaging/tradeloom-market.1.gz" | sed 's/\\-/-/g')"
  local entries
  entries="$(grep -A1 '^\.TP' <<<"$page" | grep -E '^\.BI? ')"
  for option in $options; do
    grep -qE -- "^\.BI? $option( |\$)" <<<"$entries" || fail "the man page has no entry for $option"
  done
}

check_installed() {
  local prefix=/opt/tradeloom-prefix-test dest="$work/dest"
  DESTDIR="$dest" cmake --install "$build" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install"; }
  local bin="$dest$prefix/bin"
  [ "$("$bin/tradeloom-market" --version)" = "tradeloom-market $version" ] || fail "server --version"
  [ "$("$bin/tradeloom" --version)" = "tradeloom $version" ] || fail "client --version"

  # The installed server, on a free loopback port.
  local port listen server_pid=""
  mkdir -p "$work/market"
  for port in $(shuf -i 20000-39999 -n 5); do
    listen="127.0.0.1:$port"
    "$bin/tradeloom-market" --listen "$listen" --data "$work/market" 2>"$work/market.log" &
    server_pid=$!
    pids+=("$server_pid")
    if wait_for_server "$listen" "$server_pid"; then break; fi
    server_pid=""
  done
  [ -n "$server_pid" ] || { cat "$work/market.log"; fail "the installed server does not answer"; }
  compgen -G "$work/market/*.xml" >/dev/null || fail "the installed server seeded no reference lists"

  # The installed client, offscreen, with its own program folder; the probe ends it at the login
  # dialog. Its listing server listens on a loopback address of its own.
  local home="$work/home" output
  mkdir -p "$home"
  output="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    QT_PLUGIN_PATH="$probe/plugins" QT_QPA_GENERIC_PLUGINS=logindialogprobe \
    QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
    HOME="$work" XDG_DATA_HOME="$work/data" TRADELOOM_HOME="$home" TRADELOOM_SERVER="$listen" \
    TRADELOOM_BIND=127.0.0.7 timeout 90 "$bin/tradeloom" 2>"$work/client.log")" ||
    { cat "$work/client.log"; echo "$output"; fail "the installed client did not reach its login dialog"; }
  echo "$output"
  [ "$output" = "dialog: Login" ] || fail "the installed client showed another dialog first"

  kill -TERM "$server_pid"
  local status=0
  wait "$server_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the server ended with $status on SIGTERM"
  grep -q 'tradeloom-market: stopped' "$work/market.log" || fail "the server did not stop cleanly"
}

# wait_for_server ADDRESS PID: true once the server answers (at most 10 s), false when it ended.
wait_for_server() {
  local _
  for _ in $(seq 1 100); do
    curl -fs -o /dev/null "http://$1/" && return 0
    kill -0 "$2" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

case "$part" in
  packages) check_packages ;;
  validators) check_validators ;;
  installed) check_installed ;;
  *) fail "unknown part $part" ;;
esac
echo "packaging $part: ok"
