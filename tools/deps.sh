#!/usr/bin/env bash
# Installs every Debian package the build, the program and the tests need.
# Idempotent: only missing packages are fetched.
set -euo pipefail

PKGS=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql
  qt6-charts-dev qt6-multimedia-dev libqt6opengl6-dev libxkbcommon-dev libgl-dev
  libxlsxwriter-dev libzint-dev libfreexl-dev libquazip1-qt6-dev
  libgtest-dev libbenchmark-dev libsqlite3-dev libpq-dev
  postgresql postgresql-client
  xvfb xauth fonts-noto-cjk
)

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "正在安装缺少的软件包: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
