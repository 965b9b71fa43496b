#!/usr/bin/env bash
# Installs what is missing, builds the program, lays out the program folder
# (dist/) and starts it on the stand-alone database.
set -euo pipefail
cd "$(dirname "$0")"

./tools/deps.sh

export CCACHE_BASEDIR="$PWD"
# The precompiled headers can be cached only with these allowances.
export CCACHE_SLOPPINESS=pch_defines,time_macros
BUILD=build/release
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQANDOR_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
cmake --install "$BUILD" --prefix "$PWD/dist" >/dev/null

# The configuration is the operator's: never overwrite one that exists.
if [ ! -f dist/database/set.ini ]; then
  cp dist/database/set.ini.template dist/database/set.ini
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
没有可用的图形显示（DISPLAY 未设置），无法打开程序窗口。
程序已编译完成，位于 dist/qandor。在无显示器的机器上可以这样运行：
  xvfb-run -a -s "-screen 0 1280x800x24" ./run.sh
MSG
  exit 2
fi

exec ./dist/qandor "$@"
