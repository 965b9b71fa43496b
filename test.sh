#!/usr/bin/env bash
# Installs what is missing, builds with the tests (AddressSanitizer and
# UndefinedBehaviorSanitizer on), starts a throwaway PostgreSQL and runs
# every test headless; each database test runs on SQLite and PostgreSQL.
set -euo pipefail
cd "$(dirname "$0")"

./tools/deps.sh

export CCACHE_BASEDIR="$PWD"
# The precompiled headers can be cached only with these allowances.
export CCACHE_SLOPPINESS=pch_defines,time_macros
BUILD=build/test
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQANDOR_TESTS=ON -DQANDOR_SANITIZE=ON -DQANDOR_BENCH=ON >/dev/null
cmake --build "$BUILD" -j"$(nproc)"

source tools/pg-test-cluster.sh

export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)" "$@"
