#!/usr/bin/env bash
# postgres-cluster.sh start|stop DIR: a throwaway PostgreSQL cluster for the tests, in DIR, that
# listens only on a Unix socket in DIR (port 5432 names the socket file) and trusts every local
# connection as the user "tradeloom". initdb refuses to run as root, so when root the cluster
# belongs to "nobody". POSTGRES_CLUSTER_OPTIONS adds server options ("-c name=value ...").
set -euo pipefail
action=${1:?start or stop} dir=${2:?cluster folder}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/initdb" ] || { echo "postgres-cluster: no initdb in /usr/lib/postgresql (scripts/setup.sh installs it)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

stop() {
  [ -f "$dir/data/postmaster.pid" ] && as_owner "$bin/pg_ctl" -D "$dir/data" -m immediate -w -t 30 stop >/dev/null 2>&1 || true
}

case "$action" in
  start)
    stop
    rm -rf "$dir"
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown nobody "$dir"
    as_owner "$bin/initdb" -D "$dir/data" -U tradeloom --auth=trust -E UTF8 --locale=C >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
    # Durability against power cuts is no concern of a throwaway cluster.
    as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-k $dir -c listen_addresses= -p 5432 -c fsync=off -c full_page_writes=off -c max_connections=200 ${POSTGRES_CLUSTER_OPTIONS:-}" start >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    ;;
  stop)
    stop
    rm -rf "$dir"
    ;;
  *)
    echo "usage: postgres-cluster.sh start|stop DIR" >&2
    exit 2
    ;;
esac
