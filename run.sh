#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh build -DCMAKE_BUILD_TYPE=Release
exec build/app/zorbela "$@"
