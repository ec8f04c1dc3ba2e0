#!/usr/bin/env bash
# Installs every Debian package Tradeloom needs to build, test and run.
# Idempotent: quiet and quick when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev libqt6opengl6-dev
  libpugixml-dev libxslt1-dev libxml2-dev
  libcurl4-openssl-dev libminiupnpc-dev libnatpmp-dev
  miniupnpd-iptables iproute2 iptables
  libgtest-dev libgmock-dev
  libcpp-httplib-dev libsqlite3-dev libssl-dev
  libpq-dev postgresql postgresql-contrib
  xvfb xauth fonts-dejavu-core clang-format curl
  clang libclang-rt-dev
  dpkg-dev fakeroot lintian desktop-file-utils appstream systemd librsvg2-bin man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
