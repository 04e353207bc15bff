#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs the Debian packages that are missing
# (only those, so a second run is quick), then configures and builds one tree.
#   tools/setup.sh BUILD_DIR [extra cmake arguments...]
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6
  gstreamer1.0-plugins-base
  libgtest-dev libgmock-dev googletest libbenchmark-dev zlib1g-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core fonts-liberation
  qt6-translations-l10n
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  lintian desktop-file-utils appstream dpkg-dev file man-db systemd
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_dir="$1"; shift
jobs=$(nproc 2>/dev/null || echo 2)
cmake -S "$(dirname "$0")/.." -B "$build_dir" -G Ninja "$@" >/dev/null
cmake --build "$build_dir" -j "$jobs" ${ZORBELA_BUILD_TARGET:+--target "$ZORBELA_BUILD_TARGET"}
