#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests: initdb into a temporary
# folder, listening only on a private socket in that folder.
#   source tools/pg-test-cluster.sh   -> starts it, exports QANDOR_TEST_PG*, sets an EXIT trap
# QANDOR_PG_EXTRA_OPTS adds server settings ("-c shared_buffers=2GB ...").
set -euo pipefail

pg_bindir() {
  local d
  d=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -n "$d" ] || { echo "找不到 PostgreSQL 服务器程序 (/usr/lib/postgresql/*/bin)" >&2; return 1; }
  echo "$d"
}

QANDOR_PG_BIN=$(pg_bindir)
QANDOR_PG_DIR=$(mktemp -d /tmp/qandor-pg.XXXXXX)
QANDOR_PG_PORT=${QANDOR_PG_PORT:-54329}

# initdb refuses to run as root: run the cluster as the postgres user then.
if [ "$(id -u)" -eq 0 ]; then
  QANDOR_PG_OSUSER=postgres
  chown "$QANDOR_PG_OSUSER" "$QANDOR_PG_DIR"
  pg_as() { runuser -u "$QANDOR_PG_OSUSER" -- "$@"; }
else
  QANDOR_PG_OSUSER=$(id -un)
  pg_as() { "$@"; }
fi
chmod 755 "$QANDOR_PG_DIR"

qandor_pg_stop() {
  if [ -f "$QANDOR_PG_DIR/data/postmaster.pid" ]; then
    pg_as "$QANDOR_PG_BIN/pg_ctl" -D "$QANDOR_PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  rm -rf "$QANDOR_PG_DIR"
}
trap qandor_pg_stop EXIT

pg_as "$QANDOR_PG_BIN/initdb" -D "$QANDOR_PG_DIR/data" -U "$QANDOR_PG_OSUSER" --auth=trust -E UTF8 --locale=C.UTF-8 >"$QANDOR_PG_DIR/initdb.log" 2>&1 \
  || { cat "$QANDOR_PG_DIR/initdb.log" >&2; exit 1; }
pg_as "$QANDOR_PG_BIN/pg_ctl" -D "$QANDOR_PG_DIR/data" -l "$QANDOR_PG_DIR/server.log" -w \
  -o "-c listen_addresses='' -k $QANDOR_PG_DIR -p $QANDOR_PG_PORT -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=60 ${QANDOR_PG_EXTRA_OPTS:-}" \
  start >/dev/null || { cat "$QANDOR_PG_DIR/server.log" >&2; exit 1; }

for db in qandor_test dbdat; do
  pg_as "$QANDOR_PG_BIN/createdb" -h "$QANDOR_PG_DIR" -p "$QANDOR_PG_PORT" -U "$QANDOR_PG_OSUSER" "$db"
done

export QANDOR_TEST_PGHOST="$QANDOR_PG_DIR"
export QANDOR_TEST_PGPORT="$QANDOR_PG_PORT"
export QANDOR_TEST_PGUSER="$QANDOR_PG_OSUSER"
export QANDOR_TEST_PGDATABASE=qandor_test
export QANDOR_REQUIRE_PG=1
echo "测试用 PostgreSQL 已启动：socket $QANDOR_PG_DIR, port $QANDOR_PG_PORT"
