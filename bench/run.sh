#!/usr/bin/env bash
# The one command for the benchmarks: builds qandor-gen and qandor-bench
# (Release), generates the libraries that are missing into build/bench-data/
# (SQLite files, kept between runs), starts a throwaway PostgreSQL cluster,
# generates the same libraries there, and prints one Markdown row per
# operation, scale and backend.
#   bench/run.sh
#   QANDOR_BENCH_SCALES="small=100000,20000,500000" bench/run.sh
# Environment: QANDOR_BENCH_BUILD (build folder, default build/bench),
# QANDOR_BENCH_NOBUILD=1 (use the binaries already in that folder),
# QANDOR_BENCH_BACKENDS ("sqlite postgres"), QANDOR_PG_PORT (default 54340).
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${QANDOR_BENCH_BUILD:-build/bench}
DATA=build/bench-data
SCALES=${QANDOR_BENCH_SCALES:-"small=100000,20000,500000 large=1000000,200000,5000000"}
BACKENDS=${QANDOR_BENCH_BACKENDS:-"sqlite postgres"}
SEED=7
TODAY=2024-06-28

if [ -z "${QANDOR_BENCH_NOBUILD:-}" ]; then
  export CCACHE_BASEDIR="$PWD" CCACHE_SLOPPINESS=pch_defines,time_macros
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQANDOR_TESTS=OFF -DQANDOR_BENCH=ON >/dev/null
  cmake --build "$BUILD" --target qandor-gen qandor-bench
fi
GEN="$BUILD/bin/qandor-gen"
BENCH="$BUILD/bin/qandor-bench"
mkdir -p "$DATA"

echo "机器：$(nproc) 核，$(free -g | awk '/^Mem:/{print $2}') GB 内存，$(uname -sr)"
echo
echo "| 库 | 操作 | 中位数 ms | 90% ms | 次数 |"
echo "|---|---|---|---|---|"

for b in $BACKENDS; do
  if [ "$b" = postgres ]; then
    export QANDOR_PG_PORT=${QANDOR_PG_PORT:-54340}
    # Settings of a server given to a library database rather than the
    # defaults of a fresh cluster (128 MB of shared buffers).
    export QANDOR_PG_EXTRA_OPTS=${QANDOR_PG_EXTRA_OPTS:-"-c shared_buffers=2GB -c max_wal_size=8GB -c checkpoint_timeout=30min -c work_mem=32MB"}
    source tools/pg-test-cluster.sh >/dev/null
  fi
  for s in $SCALES; do
    name=${s%%=*}
    scale=${s#*=}
    if [ "$b" = sqlite ]; then
      file="$DATA/$name.db"
      if [ ! -f "$file" ]; then
        rm -f "$file.tmp" "$file.tmp-wal" "$file.tmp-shm"
        start=$(date +%s)
        "$GEN" --file "$file.tmp" --scale "$scale" --seed $SEED --today $TODAY >&2
        mv "$file.tmp" "$file"
        echo "生成 SQLite $name ($scale)：$(( $(date +%s) - start )) 秒" >&2
      fi
      "$BENCH" --file "$file" --label "SQLite $name" --today $TODAY
    else
      db="bench_$name"
      pg_as "$QANDOR_PG_BIN/createdb" -h "$QANDOR_PG_DIR" -p "$QANDOR_PG_PORT" -U "$QANDOR_PG_OSUSER" "$db"
      start=$(date +%s)
      "$GEN" --server --dbname "$db" --scale "$scale" --seed $SEED --today $TODAY >&2
      echo "生成 PostgreSQL $name ($scale)：$(( $(date +%s) - start )) 秒" >&2
      "$BENCH" --server --dbname "$db" --label "PostgreSQL $name" --today $TODAY
    fi
  done
done
