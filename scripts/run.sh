#!/usr/bin/env bash
# Sets the machine up, builds, starts the local marketplace server tradeloom-market and the
# client against it; the server stops when the client exits.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/setup.sh"
build="${TRADELOOM_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target tradeloom tradeloom-market

listen="127.0.0.1:8080"
market_data="$root/run/market"
home="${TRADELOOM_HOME:-$root/run/home}"
mkdir -p "$market_data" "$home/users"

# The server logs one line per request; keep them beside its data.
"$build/server/tradeloom-market" --listen "$listen" --data "$market_data" \
  2>>"$root/run/market.log" &
server_pid=$!
stop_server() {
  kill "$server_pid" 2>/dev/null || true
  wait "$server_pid" 2>/dev/null || true
}
trap stop_server EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# Wait (at most 10 seconds) until the server answers.
for _ in $(seq 1 100); do
  curl -fs -o /dev/null "http://$listen/" && break
  if ! kill -0 "$server_pid" 2>/dev/null; then
    echo "run: tradeloom-market did not start; see run/market.log (is $listen in use?)" >&2
    exit 1
  fi
  sleep 0.1
done
if ! curl -fs -o /dev/null "http://$listen/"; then
  echo "run: tradeloom-market does not answer on $listen; see run/market.log" >&2
  exit 1
fi

# A demo member who can log in out of the box: user "demo1", password "demo1". The server
# answers "-1" when the member exists already (from an earlier run), which is fine.
reply="$(curl -fsS "http://$listen/tradeloom/app/newuser.asp?username=demo1&firstname=Demo&lastname=Member&address=1%20Demo%20Street&city=Springfield&zipcode=12345&state=IL&connection=Cable&contact=Email&email=demo1%40example.org&phone=555-0100&club1=Book%20Lovers&club2=&country=US&password=demo1")"
case "$reply" in
  0 | -1) ;;
  *) echo "run: registering the demo member failed: $reply" >&2 ;;
esac
if [ ! -f "$home/users/demo1.xml" ]; then
  printf '%s' "<user><firstname>Demo</firstname><lastname>Member</lastname><email>demo1@example.org</email><address>1 Demo Street</address><city>Springfield</city><state>IL</state><zipcode>12345</zipcode><contact>Email</contact><connection>Cable</connection><phone>555-0100</phone><username>demo1</username><country>US</country><club1>Book Lovers</club1><club2></club2></user>" \
    >"$home/users/demo1.xml"
fi

# Everything runs on this machine: the listing server listens on loopback only, so no router
# is asked for a port mapping.
export TRADELOOM_SERVER="$listen" TRADELOOM_HOME="$home" TRADELOOM_BIND="${TRADELOOM_BIND:-127.0.0.1}"
status=0
"$build/tradeloom" "$@" || status=$?
exit "$status"
