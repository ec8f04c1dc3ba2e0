#!/usr/bin/env bash
# Takes the pictures of docs/screenshots/: starts a marketplace server and two members under Xvfb
# (seller1 serving from 127.0.0.1, buyer1 working from 127.0.0.2), lets each walk a member's road
# through the real client (tests/screenshots/ScreenshotRoad.cpp) and saves a PNG at each stop:
# login, home, search-results, listing (opened from the seller's machine, with photos),
# new-listing, my-listings, message-centre. Nothing is kept but the pictures.
# The marketplace serves a member's home page and messages only to the member's online address,
# and the browser panes' requests leave from 127.0.0.1 whatever TRADELOOM_BIND says: so the seller,
# whose home page and message centre are pictured, is the member on 127.0.0.1.
#   scripts/screenshots.sh [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${TRADELOOM_BUILD_DIR:-$root/build}"
shots="$(realpath -m "${1:-$root/docs/screenshots}")"
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target tradeloom tradeloom-market seed_listing screenshotroad

work="$(mktemp -d)"
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$shots" "$work/market" "$work/seller/users" "$work/buyer/users" "$work/photos"

# One display per member, so neither window covers the other's pictures.
for display in 97 98; do
  Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb-$display.log" 2>&1 &
  pids+=($!)
done

listen="127.0.0.1:18080"
"$build/server/tradeloom-market" --listen "$listen" --data "$work/market" 2>"$work/market.log" &
pids+=($!)
for _ in $(seq 1 100); do
  curl -fs -o /dev/null "http://$listen/" && break
  sleep 0.1
done
app="http://$listen/tradeloom/app"

# register NAME FIRST LAST EMAIL: the member at the server and their user document at home.
register() {
  local name="$1" first="$2" last="$3"
  curl -fsS -o /dev/null "$app/newuser.asp?username=$name&firstname=$first&lastname=$last&address=1%20Demo%20Street&city=Springfield&zipcode=12345&state=IL&connection=Cable&contact=Email&email=$name%40example.org&phone=555-0100&club1=Book%20Lovers&club2=&country=US&password=$name"
  printf '%s' "<user><firstname>$first</firstname><lastname>$last</lastname><email>$name@example.org</email><address>1 Demo Street</address><city>Springfield</city><state>IL</state><zipcode>12345</zipcode><contact>Email</contact><connection>Cable</connection><phone>555-0100</phone><username>$name</username><country>US</country><club1>Book Lovers</club1><club2></club2></user>" \
    >"$work/$4/users/$name.xml"
}
register seller1 Sam Seller seller
register buyer1 Bea Buyer buyer

# Three photos of the chair the seller lists.
for colour in 8b5a2b a0522d 6b4226; do
  cat >"$work/photos/chair-$colour.svg" <<SVG
<svg xmlns="http://www.w3.org/2000/svg" width="480" height="360" viewBox="0 0 480 360">
  <rect width="480" height="360" fill="#eef3f6"/>
  <rect y="290" width="480" height="70" fill="#c9b79c"/>
  <g fill="none" stroke="#$colour" stroke-width="14" stroke-linecap="round">
    <path d="M170 80v170M290 80v170M170 90h120M170 130h120M170 170h120"/>
    <path d="M150 250h180M170 250l-30 60M310 250l30 60M120 320q120 30 240 0"/>
  </g>
</svg>
SVG
  rsvg-convert "$work/photos/chair-$colour.svg" -o "$work/photos/chair-$colour.png"
done

# The seller's listing with its photos, and an offer the buyer sent for it.
TRADELOOM_HOME="$work/seller" TRADELOOM_BIND=127.0.0.1 TRADELOOM_SERVER="$listen" \
  "$build/tests/screenshots/seed_listing" seller1 seller1 "$work"/photos/chair-*.png >"$work/id"
id="$(cat "$work/id")"
curl -fsS -o /dev/null --interface 127.0.0.2 "$app/login.asp?username=buyer1&password=buyer1"
curl -fsS -o /dev/null --interface 127.0.0.2 "$app/message/message.asp" \
  --data-urlencode senderid=buyer1 --data-urlencode recipientid=seller1 \
  --data-urlencode "productid=$id" --data-urlencode "title=Oak rocking chair" \
  --data-urlencode "body=Would you take 100 for the rocking chair? I can pick it up on Saturday."

# member ROAD NAME DISPLAY BIND: the real client with the road plugin, in the background.
member() {
  env QT_QPA_PLATFORM=xcb DISPLAY=":$3" QT_PLUGIN_PATH="$build/tests/screenshots/plugins" \
    QT_QPA_GENERIC_PLUGINS=screenshotroad QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
    TRADELOOM_ROAD="$1" TRADELOOM_ROAD_USER="$2" TRADELOOM_ROAD_PASSWORD="$2" \
    TRADELOOM_ROAD_SEARCH="rocking chair" TRADELOOM_ROAD_SHOTS="$shots" \
    TRADELOOM_ROAD_DONE="$work/$1.done" HOME="$work/$1" XDG_RUNTIME_DIR="$work" \
    TRADELOOM_HOME="$work/$1" TRADELOOM_SERVER="$listen" TRADELOOM_BIND="$4" \
    "$build/tradeloom" >"$work/$1.log" 2>&1 &
  pids+=($!)
}

# wait_road ROAD: until its road is walked (at most 5 minutes); its log on failure.
wait_road() {
  for _ in $(seq 1 600); do
    [ -f "$work/$1.done" ] && return 0
    sleep 0.5
  done
  echo "screenshots: the $1's road did not finish:" >&2
  grep -v '^QStandardPaths' "$work/$1.log" >&2 || true
  exit 1
}

member seller seller1 97 127.0.0.1
wait_road seller
member buyer buyer1 98 127.0.0.2
wait_road buyer
grep '^road:' "$work/seller.log" "$work/buyer.log" | cut -d' ' -f2-
