#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for tests and trials.
#
#   pg-cluster.sh start DIR   creates the cluster in DIR if there is none, starts it unless it runs,
#                             writes the base connection string (no dbname) to DIR/conninfo and
#                             prints it: "host=<socket folder> port=N user=postgres"; the same as
#                             service "frostpick_test" in DIR/pg_service.conf, so a caller that
#                             learns the port only later sets PGSERVICEFILE and uses
#                             "service=frostpick_test"
#   pg-cluster.sh stop DIR    stops it (the files stay, so a later start brings the same cluster back
#                             on the same port)
#
# The server listens on a Unix socket (in DIR, or in a short folder under /tmp when DIR is too long
# for a socket path) and on 127.0.0.1, on a free port. Connections over the socket are trusted;
# over TCP every role needs its password (scram-sha-256). Run as root, the server runs as the
# unprivileged user "postgres". Exits nonzero, showing the server log, when it cannot start.
set -euo pipefail

usage() {
  echo "usage: $0 start|stop DIR" >&2
  exit 2
}
[ $# -eq 2 ] || usage
command=$1
mkdir -p "$2"
dir=$(cd "$2" && pwd)
data=$dir/data
log=$dir/server.log

bindir=${PG_BINDIR:-$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)}
[ -x "$bindir/pg_ctl" ] || { echo "PostgreSQL server programs not found (set PG_BINDIR)" >&2; exit 1; }

if [ "$(id -u)" -eq 0 ]; then
  owner=postgres
  as_owner() { runuser -u "$owner" -- "$@"; }
else
  owner=$(id -un)
  as_owner() { "$@"; }
fi

running() { [ -d "$data" ] && as_owner "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; }

case $command in
stop)
  if running; then
    as_owner "$bindir/pg_ctl" -D "$data" stop -m fast -w >/dev/null
  fi
  exit 0
  ;;
start) ;;
*) usage ;;
esac

chown "$owner" "$dir"
if [ ! -f "$data/PG_VERSION" ]; then
  as_owner "$bindir/initdb" -D "$data" -U postgres -E UTF8 --locale=C.UTF-8 --auth-local=trust \
    --auth-host=scram-sha-256 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
  # A socket path is limited to about 100 bytes.
  socket=$dir
  if [ ${#dir} -gt 80 ]; then
    socket=$(mktemp -d /tmp/pgsock.XXXXXX)
    chown "$owner" "$socket"
  fi
  echo "$socket" >"$dir/socket"
fi
socket=$(cat "$dir/socket")
mkdir -p "$socket" && chown "$owner" "$socket"

free_port() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 20000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      echo "$port"
      return
    fi
  done
  return 1
}

if ! running; then
  started=no
  for _ in 1 2 3; do
    # The same port as before when the cluster comes back, so connection strings stay valid.
    port=$(cat "$dir/port" 2>/dev/null || free_port)
    if as_owner "$bindir/pg_ctl" -D "$data" -l "$log" -w -t 30 \
      -o "-p $port -k $socket -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null 2>&1; then
      echo "$port" >"$dir/port"
      started=yes
      break
    fi
    rm -f "$dir/port"
  done
  if [ $started = no ]; then
    echo "PostgreSQL did not start; its log:" >&2
    cat "$log" >&2 || true
    exit 1
  fi
fi

base="host=$socket port=$(cat "$dir/port") user=postgres"
printf '[frostpick_test]\n%s\n' "${base// /$'\n'}" >"$dir/pg_service.conf"
echo "$base" | tee "$dir/conninfo"
